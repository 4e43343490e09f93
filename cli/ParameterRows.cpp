#include "ParameterRows.h"

#include <algorithm>

namespace ParameterRows {

std::optional<int> ParseLevel(const std::string& text) {
    if (text == "basic") return 0;
    if (text == "advanced") return 1;
    if (text == "admin") return kPasswordLevel;
    if (text == "all") return kAll;
    return std::nullopt;
}

std::string Address(const BlockArray& blocks, Ref ref) {
    const BlockInfo& block = blocks[static_cast<std::size_t>(ref.block)];
    return block.DisplayName + "/" + block.Rows[static_cast<std::size_t>(ref.row)].DisplayName;
}

const CommandInfo& Command(const BlockArray& blocks, Ref ref) {
    return *blocks[static_cast<std::size_t>(ref.block)]
                .Rows[static_cast<std::size_t>(ref.row)]
                .Command;
}

namespace {

int32_t CountAt(const BlockInfo& block, int level) {
    if (level == 0) return block.BasicCount;
    if (level == 1) return block.AdvancedCount;
    return block.PasswordCount;
}

template <class Visit>
void ForEachCommandRow(const BlockArray& blocks, Visit visit) {
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const auto& rows = blocks[b].Rows;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (rows[r].Command) visit(Ref{static_cast<int>(b), static_cast<int>(r)});
        }
    }
}

bool IsDecimal(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::vector<Ref> Visible(const BlockArray& blocks, int level, bool access) {
    std::vector<Ref> result;
    ForEachCommandRow(blocks, [&](Ref ref) {
        const int rowLevel = Command(blocks, ref).EnableAdvancedLevel;
        if (rowLevel == kPasswordLevel && !access) return;
        if (level == kAll) {
            result.push_back(ref);
            return;
        }
        const BlockInfo& block = blocks[static_cast<std::size_t>(ref.block)];
        if (CountAt(block, level) != 0 && rowLevel == level) result.push_back(ref);
    });
    return result;
}

std::optional<Ref> Find(const BlockArray& blocks, const std::string& address) {
    std::optional<Ref> found;
    ForEachCommandRow(blocks, [&](Ref ref) {
        if (!found && Address(blocks, ref) == address) found = ref;
    });
    return found;
}

std::optional<Ref> FindAssignment(const BlockArray& blocks, const std::string& text,
                                  std::string& value) {
    std::optional<Ref> found;
    std::size_t longest = 0;
    ForEachCommandRow(blocks, [&](Ref ref) {
        const std::string prefix = Address(blocks, ref) + "=";
        if (text.rfind(prefix, 0) == 0 && (!found || prefix.size() > longest)) {
            found = ref;
            longest = prefix.size();
        }
    });
    if (found) value = text.substr(longest);
    return found;
}

std::string CheckWrite(const CommandInfo& command, const std::string& value) {
    if (command.EnableRW == 0) return "it is read-only";
    if (value.empty()) return "it needs a value";
    if (command.EnableList != 0) {
        for (const ListItem& item : command.ListItems) {
            if (item.Text == value) return {};
        }
        std::string items;
        for (const ListItem& item : command.ListItems) {
            items += (items.empty() ? "" : ", ") + ("\"" + item.Text + "\"");
        }
        return "\"" + value + "\" is not one of its items (" + items + ")";
    }
    if (command.PureTextValue != 0) {
        if (value.size() > command.CharLength) {
            return "the text is longer than " + std::to_string(command.CharLength) + " characters";
        }
        return {};
    }
    const std::string range = std::to_string(command.Min) + ".." + std::to_string(command.Max);
    if (!IsDecimal(value)) return "\"" + value + "\" is not a decimal number in " + range;
    // Leading zeros do not count towards the size.
    const std::size_t first = std::min(value.find_first_not_of('0'), value.size() - 1);
    const std::string digits = value.substr(first);
    if (digits.size() > 10 || std::stoull(digits) > command.Max ||
        std::stoull(digits) < command.Min) {
        return value + " is outside " + range;
    }
    return {};
}

}  // namespace ParameterRows
