// The document's LED polling thread: started once by the first view, stopped before the
// document lets go of its connection.
#include "GetLEDThread.h"
#include "VelterraDoc.h"

namespace velterra {

bool CVelterraDoc::StartLedThread() {
    if (ledThread_) return true;
    auto thread = std::make_unique<CGetLEDThread>(this);
    if (!thread->Start()) return false;
    ledThread_ = std::move(thread);
    return true;
}

void CVelterraDoc::StopLedThread() {
    if (!ledThread_) return;
    ledThread_->Stop();
    ledThread_.reset();
}

}  // namespace velterra
