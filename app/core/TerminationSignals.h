#pragma once
#include <pthread.h>

#include <functional>

namespace velterra {

// SIGINT and SIGTERM taken by a thread of their own instead of a signal handler, so that what
// follows a signal (closing this process's ports, freeing their slots) runs with the locks every
// other caller uses. Start blocks the two signals in the calling thread; threads created after
// it inherit that, so start it before any other thread exists (the window's toolkit starts
// threads of its own).
class TerminationSignals {
  public:
    TerminationSignals() = default;
    ~TerminationSignals() { Stop(); }
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The handler runs once, on the watching thread, with the signal number; a second signal
    // ends the process at once. False when the
    // signals cannot be blocked or the thread cannot start (the defaults then stay in force).
    bool Start(std::function<void(int)> handler);
    // Ends the watching thread; a signal arriving afterwards is held blocked. Safe to repeat.
    void Stop();
    bool Watching() const { return watching_; }

  private:
    void Watch();

    std::function<void(int)> handler_;
    pthread_t thread_{};
    bool watching_ = false;
};

}  // namespace velterra
