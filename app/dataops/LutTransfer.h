#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "core/VelterraDoc.h"

namespace velterra {

// LUTs between the camera and LUT workbooks. The camera holds one LUT per tap in two forms:
// the every-scale table (one output for each of the 2^bits inputs) and, on cameras of kernel
// type 1, the vector nodes its curve was drawn from (pairs of 16-bit X, Y). Every tap is one
// protocol call under the document's port lock; the lock is free between taps, so the LED poll
// can run. The "LutRW" and "WaitCmd" command ids are read from Command.ini on every transfer.
class LutTransfer {
  public:
    static constexpr int kEveryScale = 0;
    static constexpr int kVectorNodes = 1;
    // A tap's vector nodes read from the camera: at most this many, 4 bytes each.
    static constexpr int kMaxNodesPerTap = 10;

    explicit LutTransfer(CVelterraDoc& doc) : doc_(doc) {}

    // Told before the first and after every tap transfer of a workbook operation: transfers
    // done of the total (taps, and taps again for the vector nodes of a kernel-1 camera). The
    // window may process its paint events here.
    using Progress = std::function<void(int done, int total)>;
    void SetProgress(Progress progress) { progress_ = std::move(progress); }
    // Taps of the workbook operation under way, known once its workbook is read; the
    // transfers past this count are the vector nodes.
    int ProgressTaps() const { return progressTaps_; }

    // One tap (0-based) to the camera: `count` table entries (kind 0) or `count` nodes of two
    // values each (kind 1). Nodes need a kernel-1 camera: a kernel-0 camera has no node
    // transfer and would take them as the tap's first table entries, so kind 1 fails there
    // without an exchange. A failure goes to the connection log with the tap from 1.
    bool WriteLutTap(int tap, int kind, int count, const uint16_t* data);

    // One tap from the camera. Kind 0 reads `count` entries into `data`. Kind 1 reads the
    // tap's vector nodes: `data` must have room for kMaxNodesPerTap nodes, and `nodeCount`
    // receives their number. A camera that reports more than kMaxNodesPerTap nodes fails the
    // read, since only ten records fit its reply.
    bool ReadLutTap(int tap, int kind, int count, uint16_t* nodeCount, uint16_t* data);

    // Built-in function 6: asks for a workbook (.xlsx or .xls), reads it and writes every
    // tap's every-scale table and, on a kernel-1 camera, every tap's vector nodes. A failed
    // tap is boxed and the next one still written. True when the workbook was read and every
    // tap written.
    bool WriteLutFromWorkbook();

    // Built-in function 7: reads every tap's LUT (and nodes on a kernel-1 camera) from the
    // camera, then asks for a file name and saves the LUT workbook there. The first failed tap
    // ends the operation and nothing is saved. True when the workbook was saved.
    bool ReadLutToWorkbook();

  private:
    uint8_t NamedCommandId(const char* section) const;
    template <class Call>
    bool PortCall(Call&& call);
    void ReportPortError(std::string text);
    void ShowMessage(const std::string& text);
    void SetBusy(bool busy);
    void TellProgress(int done, int total);

    CVelterraDoc& doc_;
    Progress progress_;
    int progressTaps_ = 0;
};

}  // namespace velterra
