// Writing chosen differences of a comparison into the camera.
#include <set>

#include "Clock.h"
#include "FormatText.h"
#include "SettingsCompare.h"
#include "SettingsCompareScope.h"
#include "SettingsFile.h"
#include "SettingsTexts.h"
#include "UpdateHints.h"

namespace velterra {

namespace SettingsCompare {

namespace {

// The row a difference was found on still holds that parameter, on the same camera.
bool StillFits(const CVelterraDoc& doc, const Comparison& comparison,
               const Difference& difference) {
    if (doc.PortIndex != comparison.cameraSlot || doc.ModelName != comparison.cameraModel) {
        return false;
    }
    if (difference.block < 0 || static_cast<std::size_t>(difference.block) >= doc.Blocks.size()) {
        return false;
    }
    const BlockInfo& block = doc.Blocks[static_cast<std::size_t>(difference.block)];
    if (difference.row < 0 || difference.row >= block.RowCount ||
        static_cast<std::size_t>(difference.row) >= block.Rows.size()) {
        return false;
    }
    const RowInfo& row = block.Rows[static_cast<std::size_t>(difference.row)];
    return row.Command && row.Command->CommandID == difference.commandId &&
           row.Command->EnableRW != 0 && row.DisplayName == difference.parameterName &&
           block.DisplayName == difference.blockName;
}

}  // namespace

WriteReport WriteDifferences(CVelterraDoc& doc, const Comparison& comparison,
                             const std::vector<std::size_t>& chosen, const Progress& progress) {
    WriteReport report;
    // Each difference once, in table order, whatever order the selection came in.
    std::set<std::size_t> picked;
    for (std::size_t index : chosen) {
        if (index < comparison.differences.size()) picked.insert(index);
    }
    if (picked.empty()) return report;

    const std::string portName = doc.PortName();
    const OperationScope scope(doc);
    const int total = static_cast<int>(picked.size());
    int done = 0;
    for (std::size_t index : picked) {
        if (progress && !progress(done, total)) {
            report.cancelled = true;
            break;
        }
        ++done;
        const Difference& difference = comparison.differences[index];
        const char* skipped = !StillFits(doc, comparison, difference) ? SettingsText::kCompareStale
                              : !difference.writable ? SettingsText::kCompareNothingToWrite
                                                     : nullptr;
        if (skipped != nullptr) {
            ++report.failed;
            doc.LogMessage(FormatText(skipped, difference.blockName.c_str(),
                                      difference.parameterName.c_str(), portName.c_str(),
                                      comparison.fileName.c_str()));
            continue;
        }
        // The camera stopped answering: the log has said so once; the rest are not tried.
        if (!doc.ExchangeRuns.MayExchange()) {
            report.failed += total - done + 1;
            break;
        }
        // The engine logs a write the camera refuses.
        if (doc.WriteParameter(difference.block, difference.row, difference.fileValue) == 1) {
            ++report.written;
        } else {
            ++report.failed;
        }
        platform::SleepMs(SettingsFile::kWritePauseMs);
    }
    if (!report.cancelled && progress) progress(total, total);
    if (report.written > 0) doc.SetModifiedFlag(true);
    doc.UpdateAllViews(UpdateHint::kValuesChanged, &doc.Blocks);
    return report;
}

}  // namespace SettingsCompare

}  // namespace velterra
