#include "SettleTimer.h"

#include "GetLEDThread.h"
#include "VelterraDoc.h"

namespace velterra {

SettleTimer::Next SettleTimer::Tick(CVelterraDoc& doc) {
    // The flat-field wizard polls the busy camera itself, off the window's thread; a probe here
    // would hold the window for the probe's time limit and race the wizard's. The timer takes
    // over once the wizard's wait ends.
    if (doc.FfcRunning) return Next::KeepRunning;
    // A camera function or a refresh is under way and lets the window's events run between
    // its exchanges: a probe now would put its frame among the function's, or wait forever on
    // the port lock the legacy table transfer holds on this same thread. The ticks go on once
    // it ends.
    if (doc.Busy) return Next::KeepRunning;
    if (doc.CameraKernel != 0 && !doc.FfcRunning && doc.LedThread() != nullptr) {
        doc.LedThread()->RequestPoll();
        return Next::Stop;
    }
    doc.ProbeCamera(false);
    if (IUserInterface* ui = doc.UserInterface()) ui->RepaintLamp();
    if (doc.NotResponding) {
        m_nAnsweredPolls = 0;
        return Next::KeepRunning;
    }
    if (++m_nAnsweredPolls < kAnsweredPollsToSettle) return Next::KeepRunning;
    m_nAnsweredPolls = 0;
    if (doc.RefreshRequested) {
        doc.RefreshAll();
        doc.RefreshRequested = false;
    }
    return Next::Stop;
}

}  // namespace velterra
