#include "OwnProcess.h"

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "clport.h"

namespace {

// Set in a child forked while the parent ran other threads (a camera serving its line): what
// those threads held is unreachable in the child, so a leak check there would blame the code
// under test for it.
bool skipLeakCheck = false;

}  // namespace

// Consulted by LeakSanitizer at exit in sanitizer builds; unused otherwise.
extern "C" __attribute__((visibility("default"), used)) int __lsan_is_turned_off() {
    return skipLeakCheck ? 1 : 0;
}

namespace velterra::test {

namespace {

size_t ThreadCount() {
    size_t count = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        ++count;
    }
    return count;
}

std::string ReadAll(int fd) {
    std::string text;
    char chunk[4096];
    ssize_t got;
    while ((got = read(fd, chunk, sizeof chunk)) > 0 || (got < 0 && errno == EINTR)) {
        if (got > 0) text.append(chunk, static_cast<size_t>(got));
    }
    return text;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void* TestLibrary(const char* flavour) {
    const std::string path = std::string(VELTERRA_LIB_DIR) + "/libclsertest" + flavour + ".so";
    // Only a library the transport already loaded: the test must not load it on its own.
    return dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
}

}  // namespace

ChildResult RunInOwnProcess(const std::string& clserIni,
                            const std::function<std::string(const std::filesystem::path&)>& body,
                            const std::vector<std::pair<std::string, std::string>>& environment) {
    static int serial = 0;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("velterra-clser-" + std::to_string(getpid()) + "-" + std::to_string(++serial));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "clser.ini") << clserIni;
    const std::filesystem::path log = dir / "calls.log";

    ChildResult result;
    int channel[2];
    if (pipe(channel) != 0) {
        result.failure = "no pipe";
        return result;
    }
    std::fflush(nullptr);
    const bool threaded = ThreadCount() > 1;
    const pid_t child = fork();
    if (child < 0) {
        result.failure = "no fork";
        return result;
    }
    if (child == 0) {
        close(channel[0]);
        skipLeakCheck = threaded;
        if (chdir(dir.c_str()) != 0) _exit(90);
        setenv("VELTERRA_TESTCLSER_LOG", log.c_str(), 1);
        for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
        const std::string output = body(dir);
        const char* at = output.data();
        size_t left = output.size();
        while (left > 0) {
            const ssize_t sent = write(channel[1], at, left);
            if (sent <= 0) _exit(91);
            at += sent;
            left -= static_cast<size_t>(sent);
        }
        close(channel[1]);
        std::exit(0);
    }
    close(channel[1]);
    result.output = ReadAll(channel[0]);
    close(channel[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status)) {
        result.failure = "child ended by signal " + std::to_string(WTERMSIG(status));
    } else if (WEXITSTATUS(status) != 0) {
        result.failure = "child exit status " + std::to_string(WEXITSTATUS(status));
    }
    result.calls = ReadFile(log);
    std::filesystem::remove_all(dir);
    return result;
}

void FeedLine(const char* flavour, uint32_t serialIndex, const std::vector<uint8_t>& bytes) {
    using Feed = void (*)(uint32_t, const uint8_t*, uint32_t);
    void* library = TestLibrary(flavour);
    if (library == nullptr) return;
    if (auto feed = reinterpret_cast<Feed>(dlsym(library, "TestClser_Feed"))) {
        feed(serialIndex, bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    dlclose(library);
}

std::vector<uint8_t> WrittenToLine(const char* flavour, uint32_t serialIndex) {
    using Written = uint32_t (*)(uint32_t, uint8_t*, uint32_t);
    std::vector<uint8_t> bytes(1 << 16);
    void* library = TestLibrary(flavour);
    if (library == nullptr) return {};
    auto written = reinterpret_cast<Written>(dlsym(library, "TestClser_Written"));
    bytes.resize(written ? written(serialIndex, bytes.data(), static_cast<uint32_t>(bytes.size()))
                         : 0);
    dlclose(library);
    return bytes;
}

std::string OpenEach(const std::vector<int32_t>& indices, uint32_t baudRate, uint8_t kernelType) {
    std::string text;
    for (int32_t index : indices) {
        if (!text.empty()) text += ' ';
        text +=
            std::to_string(index) + ":" + std::to_string(CLS_OpenPort(index, baudRate, kernelType));
    }
    return text;
}

std::string Hex(const uint8_t* bytes, size_t count) {
    std::string text;
    char digits[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
        if (i > 0) text += ' ';
        text += digits;
    }
    return text;
}

}  // namespace velterra::test
