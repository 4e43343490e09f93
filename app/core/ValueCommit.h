#pragma once
#include <optional>
#include <string>

#include "ParameterList.h"

namespace velterra {

class CVelterraDoc;

// Command ids of the line period / exposure time pair that a commit keeps in proportion.
inline constexpr uint8_t kLinePeriodCommandId = 0xA6;
inline constexpr uint8_t kExposureTimeCommandId = 0xA7;
// The list lines (counted from 0) that hold the pair, and the names that exempt them.
inline constexpr int kLinePeriodListRow = 2;
inline constexpr int kExposureTimeListRow = 3;
inline constexpr const char* kTimer1Name = "Timer 1";
inline constexpr const char* kTimer2Name = "Timer 2";
// The pause between a write and its read-back.
inline constexpr uint32_t kReadBackPauseMs = 10;

struct CommitOutcome {
    bool written = false;         // the edited row was written
    bool failedReadBack = false;  // its read-back failed (the list keeps its earlier text)
    // The window command the row asks for after its write (the low 16 bits of RunUICommand)
    // and whether the user interface ran it.
    std::optional<int> uiCommand;
    bool uiCommandRun = false;
    // The partner row written to keep the pair's proportion.
    std::optional<ParameterListRow> coupled;
};

// Writes the text a commit of list line `listRow` reported, and shows in the list what the
// document then holds. Nothing happens without an open port, on a group line or on a row without
// a command. A row with a window command shows the written value and asks the user interface to
// run the command; any other row marks the document modified, restarts the settle timer and
// is read back. Editing the line period (0xA6) or the exposure time (0xA7) so that the exposure
// would exceed the period scales the other one by their ratio before the edit (list lines 2 and
// 3), unless line 2 is named "Timer 1" or line 3 "Timer 2".
//
// A line period of 0 before the edit gives no ratio: then only the edited row is written. The
// pair is not touched either after a failed write (nothing changed on the camera), when the
// scaled value does not fit 32 bits, or when the partner row would lie outside the block.
CommitOutcome CommitValueEdit(CVelterraDoc& doc, ParameterList& list, int listRow,
                              const std::string& text);

}  // namespace velterra
