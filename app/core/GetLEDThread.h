#pragma once
#include <atomic>
#include <thread>

#include "AutoResetEvents.h"

namespace velterra {

class CVelterraDoc;

// The LED polling thread: on each poll request it runs the document's alive probe with the lamp
// repainted, and then, for a kernel-1 camera with a refresh requested, the refresh of every
// parameter. Between requests it sleeps without a time limit. The quit request ends it; when
// quit and poll are both pending the quit wins and nothing more is sent. Poll requests that
// arrive while a probe runs collapse into one more probe.
//
// What runs on this thread reaches the user interface through RepaintLamp and SetWaitCursor of
// IUserInterface and through the document's hints 1 and 3 (see UserInterface.h and
// DocumentObserver.h for what a window must do with them).
class CGetLEDThread {
  public:
    explicit CGetLEDThread(CVelterraDoc* document) : document_(document) {}
    ~CGetLEDThread() { Stop(); }
    CGetLEDThread(const CGetLEDThread&) = delete;
    CGetLEDThread& operator=(const CGetLEDThread&) = delete;

    // Starts the thread; false when the system cannot start one (the program runs on without).
    bool Start();
    // Sets the quit event and waits until the thread has ended. Safe to call more than once and
    // without a running thread; never from the thread's own work.
    void Stop();

    // Asks for one probe (the poll event).
    void RequestPoll() { events_.Set(kPollEvent); }
    // Asks the work loop to end (the quit event) without waiting for it.
    void RequestQuit() { events_.Set(kQuitEvent); }
    // The work loop has ended (after the quit event, or at once without a document).
    bool Finished() const { return finished_; }

    // The thread's whole work; returns false like the framework's InitInstance, which ends it.
    bool InitInstance();

  private:
    // Index order is wait order: the quit event comes first.
    static constexpr std::size_t kQuitEvent = 0;
    static constexpr std::size_t kPollEvent = 1;

    CVelterraDoc* document_;
    AutoResetEvents events_{2};
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

}  // namespace velterra
