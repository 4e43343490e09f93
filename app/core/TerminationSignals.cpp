#include "TerminationSignals.h"

#include <signal.h>
#include <unistd.h>

namespace velterra {

namespace {

// Wakes the watching thread when the program ends normally.
constexpr int kStopSignal = SIGUSR1;

sigset_t WatchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, kStopSignal);
    return set;
}

}  // namespace

bool TerminationSignals::Start(std::function<void(int)> handler) {
    if (watching_) return true;
    handler_ = std::move(handler);
    const sigset_t set = WatchedSignals();
    if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return false;
    auto run = [](void* self) -> void* {
        static_cast<TerminationSignals*>(self)->Watch();
        return nullptr;
    };
    watching_ = pthread_create(&thread_, nullptr, run, this) == 0;
    return watching_;
}

void TerminationSignals::Stop() {
    if (!watching_) return;
    pthread_kill(thread_, kStopSignal);
    pthread_join(thread_, nullptr);
    watching_ = false;
}

void TerminationSignals::Watch() {
    const sigset_t set = WatchedSignals();
    bool handled = false;
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0 || signal == kStopSignal) return;
        // A second signal while the first one's orderly end is still under way ends the
        // process at once; a slot whose owner has ended counts as free for every copy.
        if (handled) _exit(128 + signal);
        handled = true;
        if (handler_) handler_(signal);
    }
}

}  // namespace velterra
