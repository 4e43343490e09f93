#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velterra {

// One entry of a command menu as the menu database describes it. The window turns a list of
// these into a pop-up; an empty list is shown as the disabled "(Empty)" placeholder.
struct MenuEntry {
    enum class Kind { Separator, SubMenu, Command };
    // What a command entry does when chosen.
    enum class Action {
        None,      // a keyword the program does not know: the entry does nothing
        Function,  // a built-in function, by keyword
        Command,   // a named command of Command.ini
    };

    Kind kind = Kind::Command;
    std::string caption;             // as stored, UTF-8, with its "&"
    std::vector<MenuEntry> submenu;  // Kind::SubMenu only, possibly empty
    std::optional<uint32_t> id;      // Kind::Command; none when MenuItemID is empty
    Action action = Action::None;    // Kind::Command only
    std::string property;            // the row's PropertyString: keyword or command name
    int functionCode = 0;            // Action::Function: 1 to 10
    bool refreshAll = false;         // Action::Command: refresh every parameter afterwards
};

using MenuItems = std::vector<MenuEntry>;

}  // namespace velterra
