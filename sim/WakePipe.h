// A pipe whose read end a waiting thread polls beside its other descriptors, so that another
// thread, or a signal handler, can end the wait at once without the waiter waking on a timer.
#pragma once

namespace velterra::sim {

class WakePipe {
  public:
    WakePipe();
    ~WakePipe();
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;

    bool Valid() const { return read_ >= 0; }
    // The end to poll for POLLIN.
    int Fd() const { return read_; }
    // Async-signal-safe: one write(2), nothing else.
    void Wake() const;
    // Takes what Wake() left, so the next poll waits again.
    void Drain() const;

  private:
    int read_ = -1;
    int write_ = -1;
};

}  // namespace velterra::sim
