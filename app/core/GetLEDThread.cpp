#include "GetLEDThread.h"

#include <system_error>

#include "VelterraDoc.h"

namespace velterra {

bool CGetLEDThread::Start() {
    if (thread_.joinable()) return true;
    try {
        thread_ = std::thread([this] { InitInstance(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CGetLEDThread::Stop() {
    if (!thread_.joinable()) return;
    RequestQuit();
    thread_.join();
}

bool CGetLEDThread::InitInstance() {
    if (document_ == nullptr) {
        finished_ = true;
        return false;
    }
    while (events_.WaitAny() != kQuitEvent) {
        CVelterraDoc& doc = *document_;
        doc.ProbeCamera(true);
        if (doc.CameraKernel == 1 && doc.RefreshRequested) {
            doc.RefreshAll();
            doc.RefreshRequested = false;
        }
    }
    finished_ = true;
    return false;
}

}  // namespace velterra
