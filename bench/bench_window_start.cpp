// Start-up of the window: time from the process start to its first painted window, resident
// memory at that moment, and the wake-ups of the idle window (no camera connected).
// Runs build/bin/velterra on the display of DISPLAY when set, else on the offscreen platform.
#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
const std::string kProgram = VELTERRA_BIN_DIR "/velterra";

struct Child {
    pid_t pid = -1;
    int out = -1;  // read end of its standard output
};

Child Start(bool reportFirstPaint) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        if (std::getenv("DISPLAY") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (reportFirstPaint) setenv("VELTERRA_REPORT_FIRST_PAINT", "1", 1);
        const std::string registry = "/velterra-bench-start-" + std::to_string(getpid());
        setenv("VELTERRA_REGISTRY", registry.c_str(), 1);
        execl(kProgram.c_str(), kProgram.c_str(), "--dir", VELTERRA_CONFIG_DIR,
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    return {pid, pipeFds[0]};
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[256];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    close(fd);
    return text;
}

// Context switches of every thread of the process: each one a wake-up or a preemption.
long ContextSwitches(pid_t pid) {
    long total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (dir == nullptr) return -1;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        std::ifstream status(tasks + "/" + entry->d_name + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.find("ctxt_switches:") != std::string::npos) {
                total += std::strtol(line.c_str() + line.find(':') + 1, nullptr, 10);
            }
        }
    }
    closedir(dir);
    return total;
}

void Unlink(pid_t pid) {
    const std::string shm = "/dev/shm/velterra-bench-start-" + std::to_string(pid);
    std::remove(shm.c_str());
}

}  // namespace

int main() {
    constexpr int kRuns = 5;
    std::vector<double> wall, painted, rss;
    for (int i = 0; i < kRuns; ++i) {
        const auto begin = Clock::now();
        Child child = Start(true);
        if (child.pid < 0) return 1;
        const std::string out = ReadAll(child.out);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
        int status = 0;
        waitpid(child.pid, &status, 0);
        Unlink(child.pid);
        double firstPaint = 0;
        long kb = 0;
        if (std::sscanf(out.c_str(), "first-paint-ms %lf rss-kb %ld", &firstPaint, &kb) != 2) {
            std::fprintf(stderr, "bench_window_start: no report from %s (output \"%s\")\n",
                         kProgram.c_str(), out.c_str());
            return 1;
        }
        wall.push_back(ms);
        painted.push_back(firstPaint);
        rss.push_back(static_cast<double>(kb) / 1024.0);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("platform: %s\n", std::getenv("DISPLAY") ? "X display" : "offscreen");
    std::printf("first paint, from main (median of %d): %.1f ms\n", kRuns, median(painted));
    std::printf("process start to report and exit (median): %.1f ms (aim: window within 500 ms)\n",
                median(wall));
    std::printf("resident memory at first paint (median): %.1f MB (aim: under 80 MB)\n",
                median(rss));

    // The idle window: no camera, so no timer and no polling thread should wake it.
    Child idle = Start(false);
    if (idle.pid < 0) return 1;
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const long before = ContextSwitches(idle.pid);
    constexpr int kIdleSeconds = 5;
    std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
    const long after = ContextSwitches(idle.pid);
    kill(idle.pid, SIGTERM);
    int status = 0;
    waitpid(idle.pid, &status, 0);
    close(idle.out);
    Unlink(idle.pid);
    std::printf("idle wake-ups (context switches of all threads): %.1f per second over %d s\n",
                static_cast<double>(after - before) / kIdleSeconds, kIdleSeconds);
    std::printf("closed on SIGTERM with status %d\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return 0;
}
