#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "MenuTree.h"

namespace velterra {

// The three pop-ups the menu database fills, in menu-bar order.
enum class CommandPopup { Basic = 0, Advanced = 1, Password = 2 };
inline constexpr std::array<CommandPopup, 3> kCommandPopups{
    CommandPopup::Basic, CommandPopup::Advanced, CommandPopup::Password};

// The database-driven part of the main frame: the three menu trees, the maps the document
// dispatches by, and the text of every warning the loads gave, in order.
struct CommandMenus {
    std::array<MenuItems, 3> popups;
    std::map<uint32_t, int> m_mapFunctionCode;           // id -> built-in function code
    std::map<uint32_t, std::string> m_mapCommandString;  // id -> Command.ini name
    std::map<uint32_t, uint8_t> m_mapRefreshAll;         // id -> 1: refresh all afterwards
    std::vector<std::string> errors;

    MenuItems& Popup(CommandPopup popup) { return popups[static_cast<std::size_t>(popup)]; }
    const MenuItems& Popup(CommandPopup popup) const {
        return popups[static_cast<std::size_t>(popup)];
    }
    // Empty pop-ups and maps, as before a model is loaded. The errors are cleared too.
    void Reset();
};

// The table of a pop-up ("BasicCommands", ...).
const char* CommandTableName(CommandPopup popup);

// The menu database of a model: the file named by its MenuDB key in the start-up directory.
std::string MenuDatabasePath(const std::string& startupDirectory, const std::string& fileName);

// Fills one pop-up from its table of the database at `databasePath`, appending to what the
// pop-up holds and adding to the maps. True when every row was added; otherwise one text that
// says what failed is appended to `menus.errors` (the window shows it as a warning), and the
// entries added before the failure stay.
bool LoadCommandPopup(CommandMenus& menus, CommandPopup popup, const std::string& databasePath);

// Reset, then the three pop-ups, each by its own load (so one failing leaves the others).
CommandMenus LoadCommandMenus(const std::string& databasePath);

}  // namespace velterra
