#include "ValueCommit.h"

#include <cmath>

#include "Clock.h"
#include "VelterraDoc.h"

namespace velterra {

namespace {

// The list's value texts as numbers: the leading decimal digits; a text without any ("[N/A]",
// empty) counts as 0.
uint32_t LeadingNumber(const std::string& text) {
    uint64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        n = n * 10 + static_cast<uint64_t>(c - '0');
        if (n > UINT32_MAX) return 0;
    }
    return static_cast<uint32_t>(n);
}

// The scaled partner value, truncated toward zero; nothing when it is not a 32-bit value.
std::optional<uint32_t> Truncated(float value) {
    if (!std::isfinite(value) || value < 0.0f || value >= 4294967296.0f) return std::nullopt;
    return static_cast<uint32_t>(value);
}

bool ReadBackAfterWrite(CVelterraDoc& doc, const ParameterListRow& row) {
    doc.SetModifiedFlag(true);
    doc.StartPollTimer();
    platform::SleepMs(kReadBackPauseMs);
    return doc.ReadParameter(row.block, row.row) == 1;
}

// Writes the partner of the pair; true when the camera took it.
bool WritePartner(CVelterraDoc& doc, const ParameterListRow& partner, uint32_t value) {
    const BlockInfo& block = doc.Blocks[static_cast<std::size_t>(partner.block)];
    if (partner.row < 0 || static_cast<std::size_t>(partner.row) >= block.Rows.size()) return false;
    if (doc.WriteParameter(partner.block, partner.row, std::to_string(value)) != 1) return false;
    ReadBackAfterWrite(doc, partner);
    return true;
}

// The pair as the list showed it before the edit.
struct PairBefore {
    std::string periodText;
    std::string exposureText;
    uint32_t period = 0;
    uint32_t exposure = 0;
};

// Scales the partner of an edited line period or exposure time by the ratio the pair had
// before; the partner that was written, if any.
std::optional<ParameterListRow> KeepPairInProportion(CVelterraDoc& doc, ParameterList& list,
                                                     const ParameterListRow& edited, bool period,
                                                     const PairBefore& before) {
    constexpr int kValue = ParameterList::kValueColumn;
    constexpr int kName = ParameterList::kNameColumn;
    // A period of 0 gives no ratio, an exposure of 0 one that nothing can be divided by.
    if (before.period == 0 || (!period && before.exposure == 0)) return std::nullopt;
    const uint32_t t1 =
        period ? LeadingNumber(list.CellText(kLinePeriodListRow, kValue)) : before.period;
    const uint32_t t2 =
        period ? before.exposure : LeadingNumber(list.CellText(kExposureTimeListRow, kValue));
    const std::string a = period ? list.CellText(kLinePeriodListRow, kName) : before.periodText;
    const std::string b = period ? before.exposureText : list.CellText(kExposureTimeListRow, kName);
    if (t2 <= t1 || a == kTimer1Name || b == kTimer2Name) return std::nullopt;

    // Single precision, as the pair has always been scaled.
    const float ratio = static_cast<float>(before.exposure) / static_cast<float>(before.period);
    const auto scaled = period ? Truncated(static_cast<float>(t1) * ratio)
                               : Truncated(static_cast<float>(t2) / ratio);
    if (!scaled) return std::nullopt;
    const ParameterListRow partner{edited.block, edited.row + (period ? 1 : -1)};
    const int partnerLine = period ? kExposureTimeListRow : kLinePeriodListRow;
    const std::string shown = std::to_string(*scaled);
    if (period) list.SetCellText(partnerLine, kValue, shown);
    if (!WritePartner(doc, partner, *scaled)) return std::nullopt;
    list.SetCellText(partnerLine, kValue, shown);
    return partner;
}

}  // namespace

CommitOutcome CommitValueEdit(CVelterraDoc& doc, ParameterList& list, int listRow,
                              const std::string& text) {
    CommitOutcome outcome;
    if (doc.PortIndex < 0) return outcome;

    constexpr int kValue = ParameterList::kValueColumn;
    PairBefore before;
    before.periodText = list.CellText(kLinePeriodListRow, kValue);
    before.exposureText = list.CellText(kExposureTimeListRow, kValue);
    before.period = LeadingNumber(before.periodText);
    before.exposure = LeadingNumber(before.exposureText);

    // The LED thread's refresh may store value texts meanwhile; the window command at the end
    // runs without the lock, since it may open a dialog.
    std::unique_lock table(doc.TableLock);
    const auto row = list.RowAt(listRow);
    if (!row || row->IsGroup()) return outcome;
    const CommandInfo* command = CommandOfRow(doc.Blocks, *row);
    if (command == nullptr) return outcome;
    const uint8_t commandId = command->CommandID;
    const bool hasUiCommand = command->HasUICommand;
    const int uiCommand = command->RunUICommand & 0xFFFF;

    if (doc.WriteParameter(row->block, row->row, text) != 1) return outcome;
    outcome.written = true;
    if (hasUiCommand) {
        list.SetCellText(listRow, kValue, command->ValueText);
    } else if (ReadBackAfterWrite(doc, *row)) {
        list.SetCellText(listRow, kValue, command->ValueText);
    } else {
        outcome.failedReadBack = true;  // the list keeps showing what it showed before
    }

    if (commandId == kLinePeriodCommandId || commandId == kExposureTimeCommandId) {
        outcome.coupled =
            KeepPairInProportion(doc, list, *row, commandId == kLinePeriodCommandId, before);
    }
    table.unlock();
    if (hasUiCommand) {
        outcome.uiCommand = uiCommand;
        IUserInterface* ui = doc.UserInterface();
        outcome.uiCommandRun = ui != nullptr && ui->RunWindowCommand(uiCommand);
    }
    return outcome;
}

}  // namespace velterra
