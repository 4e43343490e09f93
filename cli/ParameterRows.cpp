#include "ParameterRows.h"

#include "core/ParameterList.h"

namespace velterra {

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

template <class Visit>
void ForEachCommandRow(const BlockArray& blocks, Visit visit) {
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const auto& rows = blocks[b].Rows;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (rows[r].Command) visit(Ref{static_cast<int>(b), static_cast<int>(r)});
        }
    }
}

}  // namespace

std::vector<Ref> Visible(const BlockArray& blocks, int level, bool access) {
    std::vector<Ref> result;
    auto take = [&](Ref ref) {
        if (Command(blocks, ref).EnableAdvancedLevel == kPasswordLevel && !access) return;
        result.push_back(ref);
    };
    if (level == kAll) {
        ForEachCommandRow(blocks, take);
        return result;
    }
    for (const auto& row : BuildParameterListRows(blocks, level, true)) {
        if (!row.IsGroup()) take(Ref{row.block, row.row});
    }
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

}  // namespace ParameterRows

}  // namespace velterra
