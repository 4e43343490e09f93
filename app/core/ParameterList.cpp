#include "ParameterList.h"

#include <utility>

namespace velterra {

namespace {

int32_t CountAtLevel(const BlockInfo& block, int contentLevel) {
    switch (contentLevel) {
        case kBasicLevel:
            return block.BasicCount;
        case kAdvancedLevel:
            return block.AdvancedCount;
        case kAdminLevel:
            return block.PasswordCount;
        default:
            return 0;
    }
}

}  // namespace

std::vector<ParameterListRow> BuildParameterListRows(const BlockArray& blocks, int contentLevel,
                                                     bool allExpanded) {
    std::vector<ParameterListRow> rows;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const BlockInfo& block = blocks[b];
        if (CountAtLevel(block, contentLevel) == 0) continue;
        rows.push_back({static_cast<int>(b), -1});
        if (!block.Expanded && !allExpanded) continue;
        for (std::size_t r = 0; r < block.Rows.size(); ++r) {
            const auto& command = block.Rows[r].Command;
            if (command && command->EnableAdvancedLevel == contentLevel) {
                rows.push_back({static_cast<int>(b), static_cast<int>(r)});
            }
        }
    }
    return rows;
}

const CommandInfo* CommandOfRow(const BlockArray& blocks, const ParameterListRow& row) {
    if (row.IsGroup() || row.block < 0 || static_cast<std::size_t>(row.block) >= blocks.size()) {
        return nullptr;
    }
    const auto& rows = blocks[static_cast<std::size_t>(row.block)].Rows;
    if (static_cast<std::size_t>(row.row) >= rows.size()) return nullptr;
    return rows[static_cast<std::size_t>(row.row)].Command.get();
}

CommandInfo* CommandOfRow(BlockArray& blocks, const ParameterListRow& row) {
    return const_cast<CommandInfo*>(CommandOfRow(std::as_const(blocks), row));
}

void ParameterList::Rebuild(const BlockArray& blocks, int contentLevel, bool allExpanded) {
    lines_.clear();
    for (const ParameterListRow& row : BuildParameterListRows(blocks, contentLevel, allExpanded)) {
        const BlockInfo& block = blocks[static_cast<std::size_t>(row.block)];
        Line line;
        line.row = row;
        if (row.IsGroup()) {
            line.name = block.DisplayName;
            line.expanded = block.Expanded;
        } else {
            const RowInfo& info = block.Rows[static_cast<std::size_t>(row.row)];
            line.name = info.DisplayName;
            line.value = info.Command->ValueText;
        }
        lines_.push_back(std::move(line));
    }
}

void ParameterList::Clear() {
    lines_.clear();
}

std::optional<ParameterListRow> ParameterList::RowAt(int listRow) const {
    if (listRow < 0 || listRow >= RowCount()) return std::nullopt;
    return lines_[static_cast<std::size_t>(listRow)].row;
}

std::optional<int> ParameterList::ListRowOf(int block, int row) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].row == ParameterListRow{block, row}) return static_cast<int>(i);
    }
    return std::nullopt;
}

std::string ParameterList::CellText(int listRow, int column) const {
    if (listRow < 0 || listRow >= RowCount()) return {};
    const Line& line = lines_[static_cast<std::size_t>(listRow)];
    if (column == kNameColumn) return line.name;
    if (column == kValueColumn) return line.value;
    return {};
}

void ParameterList::SetCellText(int listRow, int column, std::string text) {
    if (listRow < 0 || listRow >= RowCount()) return;
    Line& line = lines_[static_cast<std::size_t>(listRow)];
    if (column == kNameColumn) line.name = std::move(text);
    if (column == kValueColumn) line.value = std::move(text);
}

bool ParameterList::IsExpandedGroup(int listRow) const {
    if (listRow < 0 || listRow >= RowCount()) return false;
    const Line& line = lines_[static_cast<std::size_t>(listRow)];
    return line.row.IsGroup() && line.expanded;
}

}  // namespace velterra
