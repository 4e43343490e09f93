#pragma once
#include <string>

#include "ExchangeRun.h"
#include "VelterraDoc.h"

namespace velterra {

namespace SettingsCompare {

// Around the camera exchanges of a comparison or of writing its differences: the document is
// busy (the menus disable their entries, the lamp shows it), the wait cursor is up, and the
// exchanges are one run, so a camera that stops answering is said once and not waited for on
// every parameter.
class OperationScope {
  public:
    explicit OperationScope(CVelterraDoc& doc)
        : doc_(doc), wasBusy_(doc.Busy), run_(doc.ExchangeRuns) {
        SetBusy(true);
        if (IUserInterface* ui = doc_.UserInterface()) ui->SetWaitCursor(true);
    }
    ~OperationScope() {
        if (IUserInterface* ui = doc_.UserInterface()) ui->SetWaitCursor(false);
        SetBusy(wasBusy_);
    }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

  private:
    void SetBusy(bool busy) {
        doc_.Busy = busy;
        if (IUserInterface* ui = doc_.UserInterface()) ui->RepaintLamp();
    }
    CVelterraDoc& doc_;
    bool wasBusy_;
    ExchangeRun run_;
};

// "Block/Parameter", as the lists of a comparison name a row.
inline std::string ParameterName(const BlockInfo& block, const RowInfo& row) {
    return block.DisplayName + "/" + row.DisplayName;
}

}  // namespace SettingsCompare

}  // namespace velterra
