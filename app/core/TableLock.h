#pragma once
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace velterra {

// The command table's lock: recursive, since a write may run a window command that reads
// again, and fair to whoever waits for it. A refresh takes it for one parameter at a time and
// lets those waiting in between two, so the window's thread never waits longer than one
// exchange, even while the LED thread reads every parameter.
class TableLock {
  public:
    void lock() {
        waiting_.fetch_add(1);
        mutex_.lock();
        waiting_.fetch_sub(1);
    }
    bool try_lock() { return mutex_.try_lock(); }
    void unlock() { mutex_.unlock(); }

    // Called without the lock held: returns once nobody is waiting for it any more.
    void LetWaitersIn() {
        while (waiting_.load() > 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

  private:
    std::recursive_mutex mutex_;
    std::atomic<int> waiting_{0};
};

}  // namespace velterra
