#pragma once
#include <cstddef>
#include <string>

#include "CommandMenus.h"
#include "MenuTableSet.h"

namespace velterra {

// More entries than this in one pop-up, sub-menus included, end its load: sub-menu tables
// that name each other many times over would otherwise multiply without end.
inline constexpr std::size_t kMenuEntryLimit = 10000;

// Adds the rows of `table` to `target` by the rules of the menu database: separators,
// sub-menus (their tables read from `tables`), command entries with their map values in
// `menus`. Stops at the first row that fails, keeping what was added before it; a sub-menu
// that fails is still attached with what it got, and its enclosing tables stop after it. A
// sub-menu table that is already open on the way down is refused. True when every row was
// added; otherwise `error` says what failed. `database` names the file in the messages.
bool LoadMenuTable(const MenuTableSet& tables, const std::string& table,
                   const std::string& database, MenuItems& target, CommandMenus& menus,
                   std::string& error);

}  // namespace velterra
