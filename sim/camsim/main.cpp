// velterra-camsim: a simulated camera on a pseudo-terminal, for the demo, the end-to-end tests
// and anyone without hardware.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CamsimArguments.h"
#include "SimulatedCamera.h"
#include "WakePipe.h"

namespace {

// The main thread sleeps on this pipe until a signal asks it to stop.
const velterra::sim::WakePipe* g_stopPipe = nullptr;

void OnSignal(int) {
    if (g_stopPipe) g_stopPipe->Wake();
}

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A reader of our output that goes away must not end the camera.
    signal(SIGPIPE, SIG_IGN);
}

// Makes `link` point at `target`; an old symbolic link there (a previous run's) is replaced,
// anything else is left alone.
bool MakeLink(const std::string& link, const std::string& target, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto status = fs::symlink_status(link, ec);
    if (fs::exists(status)) {
        if (!fs::is_symlink(status)) {
            error = link + " exists and is not a symbolic link; not replacing it.";
            return false;
        }
        fs::remove(link, ec);
    }
    fs::create_symlink(target, link, ec);
    if (ec) {
        error = "Cannot make the link " + link + ": " + ec.message();
        return false;
    }
    return true;
}

// Removes the link only while it still points at our terminal.
void RemoveLink(const std::string& link, const std::string& target) {
    std::error_code ec;
    if (std::filesystem::is_symlink(link, ec) &&
        std::filesystem::read_symlink(link, ec) == target) {
        std::filesystem::remove(link, ec);
    }
}

}  // namespace

int main(int argc, char** argv) {
    using velterra::sim::CamsimArguments;
    const std::vector<std::string> args(argv + 1, argv + argc);
    CamsimArguments arguments;
    std::string error;
    if (!velterra::sim::ParseCamsimArguments(args, arguments, &error)) {
        std::fprintf(stderr, "velterra-camsim: %s\n%s", error.c_str(), velterra::sim::kCamsimUsage);
        return 64;
    }
    if (arguments.help) {
        std::fputs(velterra::sim::kCamsimUsage, stdout);
        return 0;
    }
    const velterra::sim::WakePipe stopPipe;
    g_stopPipe = &stopPipe;
    InstallSignalHandlers();

    velterra::sim::SimulatedCamera camera(arguments.options);
    camera.OnUnplugged([&arguments] {
        std::fprintf(stderr, "velterra-camsim: unplugged after %d frames\n",
                     arguments.options.unplugAfter);
    });
    if (!camera.Start(&error)) {
        std::fprintf(stderr, "velterra-camsim: %s\n", error.c_str());
        return 1;
    }
    for (const auto& warning : camera.Warnings()) {
        std::fprintf(stderr, "velterra-camsim: warning: %s\n", warning.c_str());
    }
    const std::string path = camera.SlavePath();
    if (!arguments.link.empty() && !MakeLink(arguments.link, path, error)) {
        std::fprintf(stderr, "velterra-camsim: %s\n", error.c_str());
        camera.Stop();
        return 1;
    }
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "velterra-camsim: model %s, model text \"%s\", kernel %d, on %s\n",
                 arguments.options.model.c_str(), camera.ModelText().c_str(),
                 arguments.options.kernel, path.c_str());

    pollfd stop{stopPipe.Fd(), POLLIN, 0};
    while (poll(&stop, 1, -1) < 0 && errno == EINTR) {
    }
    camera.Stop();
    if (!arguments.link.empty()) RemoveLink(arguments.link, path);
    return 0;
}
