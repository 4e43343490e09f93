#include "ValueEditRules.h"

#include <algorithm>

namespace velterra {

namespace {

uint32_t StepOf(const CommandInfo& command) {
    return command.SliderStep > 0 ? static_cast<uint32_t>(command.SliderStep) : 1u;
}

enum class NumberText { Value, AboveMax, NotANumber };

// Decimal digits only; a minus sign before digits, or more than 32 bits, reads as above Max.
NumberText ReadDecimal(std::string_view text, uint32_t& value) {
    const bool negative = text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return NumberText::NotANumber;
    }
    if (negative) return NumberText::AboveMax;
    uint64_t n = 0;
    for (char c : text) {
        n = n * 10 + static_cast<uint64_t>(c - '0');
        if (n > UINT32_MAX) return NumberText::AboveMax;
    }
    value = static_cast<uint32_t>(n);
    return NumberText::Value;
}

}  // namespace

ValueEditShape ValueEditorFor(const CommandInfo* command) {
    ValueEditShape shape;
    if (command == nullptr || command->EnableRW == 0) return shape;
    if (command->EnableList != 0) {
        if (command->ListItems.empty()) return shape;
        shape.editor = ValueEditor::List;
        for (const ListItem& item : command->ListItems) shape.choices.push_back(item.Text);
        return shape;
    }
    if (command->PureTextValue != 0) {
        shape.editor = ValueEditor::Text;
        shape.maxLength = std::min<std::size_t>(command->CharLength, kTableTextChars);
        return shape;
    }
    shape.editor = ValueEditor::Number;
    shape.maxLength = std::to_string(command->Max).size();
    return shape;
}

uint32_t SliderRangeMax(const CommandInfo& command) {
    if (command.Max <= command.Min) return 0;
    return (command.Max - command.Min) / StepOf(command);
}

uint32_t SliderPositionOf(const CommandInfo& command, uint32_t value) {
    if (value <= command.Min) return 0;
    return std::min((value - command.Min) / StepOf(command), SliderRangeMax(command));
}

uint32_t SliderValueAt(const CommandInfo& command, uint32_t position) {
    const uint32_t last = SliderRangeMax(command);
    if (position >= last) return std::max(command.Max, command.Min);
    return command.Min + StepOf(command) * position;
}

ValueTextCheck ValidateValueText(const CommandInfo* command, std::string_view text) {
    ValueTextCheck check;
    if (command == nullptr) return check;
    const bool number = command->EnableList == 0 && command->PureTextValue == 0;
    if (text.empty()) {
        check.accepted = true;
        if (number) check.sliderPosition = 0;
        return check;
    }
    if (!number) {
        // A list's text comes from its own items; a text value takes any characters.
        check.accepted = true;
        return check;
    }
    uint32_t value = 0;
    switch (ReadDecimal(text, value)) {
        case NumberText::NotANumber:
            return check;
        case NumberText::AboveMax:
            check.sliderPosition = SliderRangeMax(*command);
            return check;
        case NumberText::Value:
            break;
    }
    if (value < command->Min) {
        check.belowMin = true;
        check.sliderPosition = 0;
    } else if (value > command->Max) {
        check.sliderPosition = SliderRangeMax(*command);
    } else {
        check.accepted = true;
        check.sliderPosition = SliderPositionOf(*command, value);
    }
    return check;
}

}  // namespace velterra
