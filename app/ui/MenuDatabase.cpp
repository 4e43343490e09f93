#include "MenuDatabase.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>

#include "InputFile.h"
#include "MdbTables.h"
#include "MenuTableStream.h"
#include "MenuTexts.h"

namespace velterra {

namespace {

using Clock = std::chrono::steady_clock;

// Above what a reader may send: it stops at kMenuTextLimit of text.
constexpr std::size_t kStreamLimit = 2 * kMenuTextLimit;

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

[[noreturn]] void RunReader(int fd, std::string_view image, const std::string& root) {
    // A crash in libmdb ends this process with its signal for the parent to see; a crash
    // handler inherited from the parent would report it as the parent's own.
    for (int crash : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) signal(crash, SIG_DFL);
    // libmdb's own complaints about a bad file say nothing the warning does not.
    const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (quiet >= 0) {
        dup2(quiet, STDERR_FILENO);
        close(quiet);
    }
    // Nothing but the pipe stays open: a serial port the program holds must not stay locked
    // by this process, nor a reader that outlives its parent keep anything of it.
    if (fd > STDERR_FILENO + 1) close_range(STDERR_FILENO + 1, fd - 1, 0);
    close_range(fd + 1, ~0U, 0);
    MenuTableSet tables;
    const MenuReadStatus status = ReadMdbTables(image.data(), image.size(), root, tables);
    const bool sent = WriteAll(fd, EncodeMenuTables(status, tables));
    _exit(sent ? 0 : 1);
}

// Reads what the reader process sends until it closes its end, or until the deadline.
bool Collect(int fd, std::string& bytes, bool& timedOut) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(kMenuReadTimeoutMs);
    char buffer[65536];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timedOut = true;
            return false;
        }
        pollfd watch{fd, POLLIN, 0};
        const int ready = poll(&watch, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return false;
        if (ready == 0) continue;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > kStreamLimit) return false;
    }
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return status;
}

std::string StopReason(int status, bool timedOut) {
    if (timedOut) {
        return "no answer within " + std::to_string(kMenuReadTimeoutMs / 1000) + " s";
    }
    if (status >= 0 && WIFSIGNALED(status)) {
        return std::string("the reader stopped on ") + strsignal(WTERMSIG(status));
    }
    return "the reader stopped without a result";
}

}  // namespace

MenuDatabaseRead ReadMenuDatabaseImage(std::string_view image, const std::string& path,
                                       const std::string& root) {
    MenuDatabaseRead result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        result.error = MenuText::CannotOpen(path, std::strerror(errno));
        return result;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        result.error = MenuText::CannotOpen(path, std::strerror(errno));
        close(fds[0]);
        close(fds[1]);
        return result;
    }
    if (pid == 0) {
        close(fds[0]);
        RunReader(fds[1], image, root);
    }
    close(fds[1]);
    std::string bytes;
    bool timedOut = false;
    const bool complete = Collect(fds[0], bytes, timedOut);
    close(fds[0]);
    if (!complete) kill(pid, SIGKILL);
    const int status = WaitFor(pid);

    MenuReadStatus readStatus = MenuReadStatus::Read;
    const bool clean = complete && status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!clean || !DecodeMenuTables(bytes, readStatus, result.tables)) {
        result.tables = {};
        result.error = MenuText::Damaged(path, StopReason(clean ? 0 : status, timedOut));
        return result;
    }
    switch (readStatus) {
        case MenuReadStatus::Read:
            result.opened = true;
            break;
        case MenuReadStatus::NotADatabase:
            result.error = MenuText::CannotOpen(path, MenuText::kNotAnAccessDatabase);
            break;
        case MenuReadStatus::TooManyTables:
            result.error = MenuText::Damaged(path, MenuText::TooManyTables(kMenuTableLimit));
            break;
        case MenuReadStatus::TooLarge:
            result.error = MenuText::Damaged(path, MenuText::kTooLarge);
            break;
    }
    if (!result.opened) result.tables = {};
    return result;
}

MenuDatabaseRead ReadMenuDatabase(const std::string& path, const std::string& root) {
    MenuDatabaseRead result;
    if (const std::string problem = platform::InputFileProblem(path, platform::kConfigFileLimitMb);
        !problem.empty()) {
        result.error = MenuText::Refused(problem);
        return result;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        result.error = MenuText::CannotOpen(path, std::strerror(errno));
        return result;
    }
    const std::string image((std::istreambuf_iterator<char>(file)), {});
    if (file.bad()) {
        result.error = MenuText::CannotOpen(path, std::strerror(errno));
        return result;
    }
    return ReadMenuDatabaseImage(image, path, root);
}

std::string MenuDatabaseOpenProblem(const std::string& path) {
    // No table has an empty name: this opens the file and reads its catalog only.
    const MenuDatabaseRead read = ReadMenuDatabase(path, "");
    return read.opened ? std::string() : read.error;
}

}  // namespace velterra
