#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CommandTable.h"

namespace velterra {

// Which in-place editor a parameter's value gets, chosen from its command: a drop list of the
// list items, a text edit, a number edit with the slider, or none (no command, a read-only
// parameter, a list without items).
enum class ValueEditor { None, List, Text, Number };

struct ValueEditShape {
    ValueEditor editor = ValueEditor::None;
    // Characters the text edit takes: CharLength for a text (at most the 63 a committed value
    // holds), the digits of Max printed as "%u" for a number.
    std::size_t maxLength = 0;
    std::vector<std::string> choices;  // the list items' texts, in order
};

// A read-only list gets no editor either: the drop list could offer nothing that is written.
ValueEditShape ValueEditorFor(const CommandInfo* command);

// The slider of a number edit: positions 0 .. (Max - Min) / SliderStep. The last position is
// Max itself, also when the range is not a multiple of the step. A step below 1 counts as 1.
uint32_t SliderRangeMax(const CommandInfo& command);
uint32_t SliderPositionOf(const CommandInfo& command, uint32_t value);
uint32_t SliderValueAt(const CommandInfo& command, uint32_t position);

// The outcome of checking an edit's text.
struct ValueTextCheck {
    bool accepted = false;
    // A number below Min: not a valid value yet, but the user may still be typing its digits,
    // so the edit keeps the text.
    bool belowMin = false;
    std::optional<uint32_t> sliderPosition;  // where a number edit's slider goes
};

// The text check of the in-place edit, on every change and before a commit. No command:
// refused. Empty text: accepted (slider to 0). Text values: accepted. Numbers must be decimal
// digits: below Min is refused with belowMin (slider 0), above Max refused (slider at its end),
// otherwise accepted. A leading minus sign or a value beyond 32 bits counts as above Max; any
// other character refuses the text without moving the slider.
ValueTextCheck ValidateValueText(const CommandInfo* command, std::string_view text);

}  // namespace velterra
