#pragma once
#include <optional>
#include <string>
#include <vector>

#include "CommandTable.h"

namespace velterra {

// Content levels of the parameter list, as the radio group "Basic" / "Advanced" / "Admin."
// chooses them.
inline constexpr int kBasicLevel = 0;
inline constexpr int kAdvancedLevel = 1;
inline constexpr int kAdminLevel = 2;

// One line of the parameter list: a group row shows a block, an item row one row of a block.
struct ParameterListRow {
    int block = 0;
    int row = -1;  // the block's row index; -1 for the group row
    bool IsGroup() const { return row < 0; }
    bool operator==(const ParameterListRow&) const = default;
};

// The visible lines at a content level, in block order: a block whose count for the level is
// non-zero gives a group row; under an expanded block each row whose command's level equals the
// content level exactly gives an item row. Rows without a command are never listed. With
// allExpanded every block counts as expanded (a list without collapsible groups).
std::vector<ParameterListRow> BuildParameterListRows(const BlockArray& blocks, int contentLevel,
                                                     bool allExpanded = false);

// The list as the window shows it, without widgets: the lines of the row model and the texts
// of their two columns (the block's or row's name, and the value text). The cells are the list's
// own copy: after a write the list shows what the document read back, and the rows 2 and 3 of
// the line period / exposure time pair are read from here, as the user sees them.
class ParameterList {
  public:
    static constexpr int kNameColumn = 0;
    static constexpr int kValueColumn = 1;

    // Builds the lines of `blocks` at the level; none for an empty array. With allExpanded the
    // rows of collapsed blocks are listed too (the blocks' Expanded flags stay as they are).
    void Rebuild(const BlockArray& blocks, int contentLevel, bool allExpanded = false);
    void Clear();

    int RowCount() const { return static_cast<int>(lines_.size()); }
    // The line's block and row; nothing for a line number outside the list.
    std::optional<ParameterListRow> RowAt(int listRow) const;
    // The list line of a block's row; nothing when the level or a collapsed block hides it.
    std::optional<int> ListRowOf(int block, int row) const;
    // Empty for a line or column outside the list.
    std::string CellText(int listRow, int column) const;
    void SetCellText(int listRow, int column, std::string text);
    // The group line's box: true for the minus (expanded) image.
    bool IsExpandedGroup(int listRow) const;

  private:
    struct Line {
        ParameterListRow row;
        std::string name;
        std::string value;
        bool expanded = false;
    };
    std::vector<Line> lines_;
};

// The command of a list line; none for a group row, a line outside the table or a row without
// a command.
const CommandInfo* CommandOfRow(const BlockArray& blocks, const ParameterListRow& row);
CommandInfo* CommandOfRow(BlockArray& blocks, const ParameterListRow& row);

}  // namespace velterra
