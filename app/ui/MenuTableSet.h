#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velterra {

// The menu columns, in the order a row reads them.
enum class MenuColumn {
    IsSeparator,
    Caption,
    IsPopMenu,
    PopMenuTableName,
    MenuItemID,
    Property,
    PropertyString,
    IsRefreshAll,
};
inline constexpr std::size_t kMenuColumnCount = 8;

// Column types as the database stores them (the Jet numbering); 0: the table has no such column.
namespace MenuColumnType {
inline constexpr int kMissing = 0;
inline constexpr int kYesNo = 0x01;
inline constexpr int kByte = 0x02;
inline constexpr int kInteger = 0x03;
inline constexpr int kLongInteger = 0x04;
inline constexpr int kText = 0x0a;
inline constexpr int kMemo = 0x0c;
}  // namespace MenuColumnType

// "Yes/No", "Long Integer", ...; "type N" for a number the database format does not name.
std::string MenuColumnTypeName(int type);

// One value as read: Yes/No as "1" or "0", numbers and texts as text (UTF-8).
struct MenuField {
    bool null = true;
    std::string text;
};

// The menu columns of one table and all its rows, in stored order.
struct MenuTable {
    std::string name;
    std::array<int, kMenuColumnCount> columnTypes{};
    std::vector<std::array<MenuField, kMenuColumnCount>> rows;

    int Type(MenuColumn column) const { return columnTypes[static_cast<std::size_t>(column)]; }
};

// The tables one load reads: a top-level table and every table its sub-menus name.
struct MenuTableSet {
    std::vector<MenuTable> tables;

    // The database looks table names up without regard to case; so does this. Null: no such
    // table in the database.
    const MenuTable* Find(std::string_view name) const;
};

// Table names compared as the database compares them.
bool SameTableName(std::string_view a, std::string_view b);

}  // namespace velterra
