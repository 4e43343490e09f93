// The program velterra-camsim as the demo script runs it: first line, link, signals, exit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "SimHarness.h"

namespace velterra::sim::test {
namespace {

namespace fs = std::filesystem;

struct Child {
    pid_t pid = -1;
    int out = -1;
    int err = -1;
};

Child Spawn(const std::vector<std::string>& args) {
    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return {};
    Child child;
    child.pid = fork();
    if (child.pid == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        close(out[0]);
        close(err[0]);
        std::vector<char*> argv;
        const std::string program = std::string(VELTERRA_BIN_DIR) + "/velterra-camsim";
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    child.out = out[0];
    child.err = err[0];
    return child;
}

// Reads up to a line end (or the end of output), waiting at most `timeoutMs`.
std::string ReadLine(int fd, int timeoutMs) {
    std::string line;
    char c = 0;
    while (true) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0 || read(fd, &c, 1) != 1 || c == '\n') return line;
        line += c;
    }
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    return text;
}

// Waits for the child's exit (killing it after `timeoutMs`) and gives its exit status.
int Finish(Child& child, int timeoutMs) {
    int status = 0;
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (waitpid(child.pid, &status, WNOHANG) == child.pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        usleep(10000);
    }
    kill(child.pid, SIGKILL);
    waitpid(child.pid, &status, 0);
    return -2;
}

fs::path TempDir() {
    const fs::path dir = fs::temp_directory_path() /
                         ("camsim-test-" + std::to_string(getpid()) + "-" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Wake-ups of every thread of a process: each voluntary switch is a wait that ended.
long VoluntarySwitches(pid_t pid) {
    long total = 0;
    const fs::path tasks = fs::path("/proc") / std::to_string(pid) / "task";
    for (const auto& task : fs::directory_iterator(tasks)) {
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) total += std::stol(line.substr(24));
        }
    }
    return total;
}

TEST(CamsimProgram, ServesUntilTerminatedAndRemovesItsLink) {
    const fs::path dir = TempDir();
    const fs::path link = dir / "camera";
    const fs::path log = dir / "frames.log";
    Child child = Spawn({"--dir", VELTERRA_CONFIG_DIR, "--model", "LS-2048C", "--link",
                         link.string(), "--log", log.string()});
    ASSERT_GT(child.pid, 0);
    const std::string path = ReadLine(child.out, 5000);
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path << ReadAll(child.err);
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), path);

    // Identify the camera through the link.
    setenv("VELTERRA_COM1", link.c_str(), 1);
    uint8_t kernel = 0xFF;
    char text[64] = {};
    EXPECT_EQ(tvr_GetModelInformation(kRs232, kPort, 9600, 0x90, 16, &kernel, text, 0), 1);
    EXPECT_STREQ(text, "VLC2048-8-3TC");
    unsetenv("VELTERRA_COM1");

    // Idle, it sleeps until something happens (polling in slices woke it about 100 times).
    const long before = VoluntarySwitches(child.pid);
    usleep(1000 * 1000);
    EXPECT_LT(VoluntarySwitches(child.pid) - before, 10);

    kill(child.pid, SIGTERM);
    EXPECT_EQ(Finish(child, 5000), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    std::ifstream logFile(log);
    std::stringstream logText;
    logText << logFile.rdbuf();
    EXPECT_NE(logText.str().find("short read 0x90 len 16 -> ACK"), std::string::npos)
        << logText.str();
    close(child.out);
    close(child.err);
    fs::remove_all(dir);
}

TEST(CamsimProgram, RefusesBadStarts) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const fs::path dir = TempDir();
    std::ofstream(dir / "file") << "not a link";
    const std::vector<Case> cases = {
        {{"--dir", VELTERRA_CONFIG_DIR, "--model", "NoSuchModel"}, 1, "is not listed"},
        {{"--dir", dir.string(), "--model", "LS-2048C"}, 1, "No model table"},
        {{"--model", "LS-2048C", "--kernel", "2"}, 64, "--kernel needs 0 or 1"},
        {{"--model", "LS-2048C", "--nak-rate", "1.5"}, 64, "--nak-rate needs a rate"},
        {{"--dir", VELTERRA_CONFIG_DIR}, 64, "--model is required"},
        {{"--dir", VELTERRA_CONFIG_DIR, "--model", "LS-2048C", "--link", (dir / "file").string()},
         1,
         "is not a symbolic link"},
        {{"--dir", VELTERRA_CONFIG_DIR, "--model", "LS-2048C", "--values",
          (dir / "missing.ini").string()},
         1,
         "cannot be read"},
    };
    for (const auto& c : cases) {
        Child child = Spawn(c.args);
        ASSERT_GT(child.pid, 0);
        const std::string err = ReadAll(child.err);
        EXPECT_EQ(Finish(child, 5000), c.status) << c.args.back();
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
        EXPECT_EQ(ReadAll(child.out), "") << c.args.back();
        close(child.out);
        close(child.err);
    }
    EXPECT_TRUE(fs::is_regular_file(dir / "file"));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace velterra::sim::test
