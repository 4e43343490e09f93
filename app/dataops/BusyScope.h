#pragma once
#include "core/VelterraDoc.h"

namespace velterra {

// Busy while a camera function runs: the menus disable their entries, the poll timer waits and
// the lamp shows red; the lamp is repainted as the flag changes.
class BusyScope {
  public:
    explicit BusyScope(CVelterraDoc& doc) : doc_(doc), was_(doc.Busy) { Set(true); }
    ~BusyScope() { Set(was_); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    void Set(bool busy) {
        doc_.Busy = busy;
        if (doc_.UserInterface() != nullptr) doc_.UserInterface()->RepaintLamp();
    }
    CVelterraDoc& doc_;
    bool was_;
};

}  // namespace velterra
