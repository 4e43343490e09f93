// What an idle velterra-camsim costs: the context switches of all its threads per second while
// no host talks to it. Each voluntary switch is one wake-up from a wait; a simulator that
// waits without time-outs makes none.
//   bench_camsim_idle [seconds, default 10] [program, default the built velterra-camsim]
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

struct Switches {
    long voluntary = 0;
    long involuntary = 0;
    int threads = 0;
};

// Sums the counters over every thread: /proc/PID/status alone counts the main thread only.
Switches Count(pid_t pid) {
    Switches total;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir) return total;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        std::ifstream status(tasks + "/" + entry->d_name + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) {
                total.voluntary += std::atol(line.c_str() + 24);
            } else if (line.rfind("nonvoluntary_ctxt_switches:", 0) == 0) {
                total.involuntary += std::atol(line.c_str() + 27);
            }
        }
        ++total.threads;
    }
    closedir(dir);
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string program =
        argc > 2 ? argv[2] : std::string(VELTERRA_BIN_DIR) + "/velterra-camsim";
    std::vector<std::string> args = {program, "--dir", VELTERRA_CONFIG_DIR, "--model",
                                     "LS-4096M12"};

    int out[2];
    if (pipe(out) != 0) return 1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, 2);
        std::vector<char*> argvChild;
        for (auto& arg : args) argvChild.push_back(arg.data());
        argvChild.push_back(nullptr);
        execv(argvChild[0], argvChild.data());
        _exit(127);
    }
    close(out[1]);
    // The first line (the terminal's path) says the camera serves.
    char c = 0;
    pollfd p{out[0], POLLIN, 0};
    while (poll(&p, 1, 5000) > 0 && read(out[0], &c, 1) == 1 && c != '\n') {
    }
    if (c != '\n') {
        std::fprintf(stderr, "bench_camsim_idle: velterra-camsim did not start\n");
        kill(pid, SIGKILL);
        return 1;
    }
    std::this_thread::sleep_for(1s);
    const Switches before = Count(pid);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const Switches after = Count(pid);

    const auto start = std::chrono::steady_clock::now();
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    const double stopMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

    std::printf("idle %s, %d threads, over %d s:\n", program.c_str(), after.threads, seconds);
    std::printf("  wake-ups (voluntary switches)  %8.1f per second\n",
                double(after.voluntary - before.voluntary) / seconds);
    std::printf("  involuntary switches           %8.1f per second\n",
                double(after.involuntary - before.involuntary) / seconds);
    std::printf("  exit after SIGTERM             %8.1f ms (status %d)\n", stopMs,
                WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return 0;
}
