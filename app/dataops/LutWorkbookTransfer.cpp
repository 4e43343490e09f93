// Built-in functions 6 and 7: LUT workbooks to and from the camera. The workbook file stands in
// for the spreadsheet program: the user picks the file to read, and names the file the LUT read
// from the camera is saved to.
#include <new>
#include <numeric>
#include <vector>

#include "Clock.h"
#include "core/FormatText.h"
#include "core/WaitCursor.h"
#include "dataops/DataOpsTexts.h"
#include "dataops/LutTransfer.h"
#include "lut/LutTexts.h"
#include "lut/LutWorkbook.h"

namespace velterra {

namespace {

constexpr uint32_t kAfterTablePauseMs = 100;
constexpr uint32_t kAfterNodesPauseMs = 50;

// Message boxes of the workbook reader and writer go nowhere without a user interface.
class SilentInterface : public IUserInterface {
  public:
    void ShowMessage(const std::string&, MessageKind) override {}
};

}  // namespace

bool LutTransfer::WriteLutFromWorkbook() {
    SilentInterface silent;
    IUserInterface& ui = doc_.UserInterface() != nullptr ? *doc_.UserInterface() : silent;
    const auto file =
        ui.AskOpenFileName({DataOpsText::kOpenWorkbookFilter, /*defaultExtension=*/""});
    if (!file) return false;

    bool isColor = false;
    int16_t bits = 0;
    int taps = 0;
    std::vector<uint16_t> lut, counts, nodes;
    {
        WaitCursor cursor(&ui);
        if (!ReadLutWorkbook(ui, *file, isColor, bits, taps, lut, &counts, &nodes)) return false;
    }

    const bool withNodes = doc_.CameraKernel == 1 && counts.size() == static_cast<size_t>(taps);
    progressTaps_ = taps;
    const int total = withNodes ? 2 * taps : taps;
    const int n = 1 << bits;
    bool allWritten = true;
    SetBusy(true);
    {
        WaitCursor cursor(&ui);
        TellProgress(0, total);
        for (int t = 0; t < taps; ++t) {
            if (!WriteLutTap(t, kEveryScale, n, lut.data() + static_cast<size_t>(t) * n)) {
                ShowMessage(FormatText(DataOpsText::kCannotSetEveryScale, t + 1));
                allWritten = false;
            }
            TellProgress(t + 1, total);
        }
        if (withNodes) {
            size_t offset = 0;
            for (int t = 0; t < taps; ++t) {
                // A tap the workbook gives no nodes has nothing to send; the camera refuses an
                // empty vector block.
                if (counts[t] != 0 &&
                    !WriteLutTap(t, kVectorNodes, counts[t], nodes.data() + 2 * offset)) {
                    ShowMessage(FormatText(DataOpsText::kCannotSetVectorNodes, t + 1));
                    allWritten = false;
                }
                offset += counts[t];
                TellProgress(taps + t + 1, total);
            }
        }
    }
    SetBusy(false);
    return allWritten;
}

bool LutTransfer::ReadLutToWorkbook() {
    SilentInterface silent;
    IUserInterface& ui = doc_.UserInterface() != nullptr ? *doc_.UserInterface() : silent;
    const bool isColor = doc_.ColorCamera != 0;
    const int16_t bits = doc_.MaxTxUnitBits;
    const int taps = doc_.TapsNum;
    // The workbook could not hold this geometry; say so before reading the camera for nothing.
    if (!isColor && (bits < 8 || bits > 14 || bits % 2 != 0)) {
        ShowMessage(LutTexts::kIncorrectBitDepth);
        return false;
    }
    if (taps < 1 || taps > 4) {
        ShowMessage(LutTexts::kIncorrectTapsNumber);
        return false;
    }
    const int n = 1 << bits;
    const bool withNodes = doc_.CameraKernel == 1;
    progressTaps_ = taps;
    const int total = withNodes ? 2 * taps : taps;

    std::vector<uint16_t> lut, counts, nodes;
    try {
        lut.assign(static_cast<size_t>(taps) * n, 0);
        if (withNodes) {
            counts.assign(taps, 0);
            nodes.assign(static_cast<size_t>(taps) * kMaxNodesPerTap * 2, 0);
        }
    } catch (const std::bad_alloc&) {
        ShowMessage(DataOpsText::kAllocatingFailed);
        return false;
    }

    SetBusy(true);
    bool complete = true;
    {
        WaitCursor cursor(&ui);
        TellProgress(0, total);
        for (int t = 0; t < taps && complete; ++t) {
            complete =
                ReadLutTap(t, kEveryScale, n, nullptr, lut.data() + static_cast<size_t>(t) * n);
            if (complete) {
                TellProgress(t + 1, total);
                platform::SleepMs(kAfterTablePauseMs);
            }
        }
        size_t offset = 0;
        for (int t = 0; withNodes && t < taps && complete; ++t) {
            // Each tap's nodes land after the previous taps' ones; ten nodes a tap fit.
            complete = ReadLutTap(t, kVectorNodes, 0, &counts[t], nodes.data() + 2 * offset);
            if (complete) {
                offset += counts[t];
                TellProgress(taps + t + 1, total);
                platform::SleepMs(kAfterNodesPauseMs);
            }
        }
    }
    if (!complete) ShowMessage(DataOpsText::kCannotReadLut);
    SetBusy(false);
    if (!complete) return false;

    const auto file =
        ui.AskSaveFileName({DataOpsText::kSaveWorkbookFilter, DataOpsText::kSaveWorkbookExtension});
    if (!file) return false;
    WaitCursor cursor(&ui);
    return WriteLutWorkbook(ui, *file, isColor, bits, taps, lut, withNodes ? &counts : nullptr,
                            withNodes ? &nodes : nullptr);
}

}  // namespace velterra
