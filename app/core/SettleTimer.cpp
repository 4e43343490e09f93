#include "SettleTimer.h"

#include "GetLEDThread.h"
#include "VelterraDoc.h"

namespace velterra {

SettleTimer::Next SettleTimer::Tick(CVelterraDoc& doc) {
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
