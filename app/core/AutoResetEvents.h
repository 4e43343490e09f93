#pragma once
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

namespace velterra {

// A fixed set of auto-reset events that one thread can wait on together. Setting an event that
// is already set changes nothing, so signals that arrive before the waiter wakes collapse into
// one. A wait takes the first set event in index order and resets it, so a lower index wins when
// several are set.
class AutoResetEvents {
  public:
    explicit AutoResetEvents(std::size_t count) : set_(count, false) {}

    void Set(std::size_t index) {
        {
            std::lock_guard lock(mutex_);
            set_.at(index) = true;
        }
        signalled_.notify_all();
    }

    // Waits without a time limit for any of the events; returns the index taken.
    std::size_t WaitAny() {
        std::unique_lock lock(mutex_);
        for (;;) {
            for (std::size_t i = 0; i < set_.size(); ++i) {
                if (set_[i]) {
                    set_[i] = false;
                    return i;
                }
            }
            signalled_.wait(lock);
        }
    }

  private:
    std::mutex mutex_;
    std::condition_variable signalled_;
    std::vector<bool> set_;
};

}  // namespace velterra
