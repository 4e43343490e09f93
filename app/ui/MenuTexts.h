#pragma once
#include <string>

namespace velterra {

// Fixed texts of the database-driven menus: the tables and columns the menu database must
// have, the keywords of the built-in functions, and what a load says when it fails.
namespace MenuText {

inline constexpr const char* kEmptyPlaceholder = "(Empty)";

inline constexpr const char* kBasicCommandsTable = "BasicCommands";
inline constexpr const char* kAdvancedCommandsTable = "AdvancedCommands";
inline constexpr const char* kPasswordCommandsTable = "PasswordCommands";

// Columns, in the order a row reads them.
inline constexpr const char* kIsSeparator = "IsSeparator";
inline constexpr const char* kCaption = "Caption";
inline constexpr const char* kIsPopMenu = "IsPopMenu";
inline constexpr const char* kPopMenuTableName = "PopMenu_TableName";
inline constexpr const char* kMenuItemID = "MenuItemID";
inline constexpr const char* kProperty = "Property";
inline constexpr const char* kPropertyString = "PropertyString";
inline constexpr const char* kIsRefreshAll = "IsRefreshAll";

// Keywords of the built-in functions, by code 1 to 10.
inline constexpr const char* kFunctionKeywords[] = {
    "FUNC_REFRESH_ALL",
    "FUNC_UFFC",
    "FUNC_FPT_LOAD_FILE_WRITE_CAM",
    "FUNC_FPT_READ_CAM_SAVE_FILE",
    "FUNC_ONE_PIXEL_SET",
    "FUNC_LUT_LOAD_FILE_WRITE_CAM",
    "FUNC_LUT_READ_CAM_SAVE_FILE",
    "FUNC_LUT_DLG",
    "FUNC_BP_LOAD_FILE_WRITE_CAM",
    "FUNC_BP_READ_CAM_SAVE_FILE",
};

inline std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// What a failing load says; `database` is the file's path.
inline std::string CannotOpen(const std::string& database, const std::string& reason) {
    return "Cannot open the menu database " + Quoted(database) + ": " + reason + ".";
}
inline constexpr const char* kNotAnAccessDatabase = "it is not an Access database";
inline std::string Damaged(const std::string& database, const std::string& what) {
    return "The menu database " + Quoted(database) + " cannot be read (" + what +
           "); it may be damaged.";
}
inline std::string TableMissing(const std::string& database, const std::string& table) {
    return "The menu database " + Quoted(database) + " has no table " + Quoted(table) + ".";
}
inline std::string ColumnMissing(const std::string& table, const std::string& column) {
    return "Table " + Quoted(table) + " of the menu database has no column " + Quoted(column) + ".";
}
inline std::string ColumnType(const std::string& table, const std::string& column,
                              const std::string& found, const char* wanted) {
    return "Column " + Quoted(column) + " of table " + Quoted(table) + " is of type " + found +
           ", not " + wanted + ".";
}
inline std::string SubMenuLoop(const std::string& table, const std::string& path) {
    return "The sub-menu table " + Quoted(table) + " contains itself (" + path +
           "); it is left empty.";
}
inline std::string TooManyEntries(const std::string& table, std::size_t limit) {
    return "The menu of table " + Quoted(table) + " has more than " + std::to_string(limit) +
           " entries; the rest is not loaded.";
}
inline std::string Refused(const std::string& problem) {
    return "The menu database cannot be read: " + problem + ".";
}
inline constexpr const char* kTooLarge = "more rows or text than a menu holds";
inline std::string TooManyTables(std::size_t limit) {
    return "more than " + std::to_string(limit) + " sub-menu tables";
}

}  // namespace MenuText

}  // namespace velterra
