#pragma once
#include <cstdint>
#include <string>

#include "CommandMenus.h"

namespace velterra {

// Database menu entries are enabled and dispatched only within this range of command ids.
inline constexpr uint32_t kMenuCommandFirst = 37000;
inline constexpr uint32_t kMenuCommandLast = 37200;

inline constexpr bool IsMenuCommandId(uint32_t id) {
    return id >= kMenuCommandFirst && id <= kMenuCommandLast;
}

// What the enabling of a database entry looks at in the document.
struct MenuCommandContext {
    bool portOpen = false;
    bool busy = false;
    int32_t portIndex = -1;
    // The LUT functions are offered only when the user switched them on.
    bool lutFunctions = false;
};

// Whether the entry with this id is enabled when its menu opens: the LUT functions only when
// switched on; the LUT editor, the FPN/PRNU and one-pixel functions with a port open and not
// busy; everything else also needs a port slot (PortIndex 0 or more). Ids outside the range
// are never enabled.
bool IsMenuCommandEnabled(const CommandMenus& menus, uint32_t id,
                          const MenuCommandContext& context);

// What choosing the entry with this id runs.
struct MenuDispatch {
    enum class Kind { Nothing, Function, Command };
    Kind kind = Kind::Nothing;
    int functionCode = 0;     // Kind::Function
    std::string command;      // Kind::Command: the Command.ini name
    uint8_t refreshFlag = 0;  // Kind::Command: bit 0 set: RefreshRequested afterwards
};
MenuDispatch ResolveMenuCommand(const CommandMenus& menus, uint32_t id);

}  // namespace velterra
