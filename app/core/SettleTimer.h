#pragma once

namespace velterra {

class CVelterraDoc;

// The logic of the view's timer 1 (750 ms), which watches the camera after a write or a camera
// command; the view owns the timer itself and calls Tick on each of its ticks.
//
// While a flat-field correction waits for the camera, or the document is Busy with a function
// or a refresh, ticks do nothing and the timer keeps running. For a kernel-1 camera with the
// document's LED thread, the first tick hands the polling to that thread and stops the timer.
// Otherwise each tick probes on the caller's thread and repaints the lamp: a camera that does not
// answer (still busy) starts the count again and the timer keeps running; the third answered poll
// in a row stops the timer and runs a refresh of every parameter when one was requested.
class SettleTimer {
  public:
    static constexpr int kPeriodMs = 750;
    static constexpr int kAnsweredPollsToSettle = 3;

    enum class Next { KeepRunning, Stop };

    Next Tick(CVelterraDoc& doc);
    int AnsweredPolls() const { return m_nAnsweredPolls; }

  private:
    int m_nAnsweredPolls = 0;
};

}  // namespace velterra
