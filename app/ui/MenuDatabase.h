#pragma once
#include <string>
#include <string_view>

#include "MenuTableSet.h"

namespace velterra {

// What one load takes from the menu database: the tables it needs, or why it cannot.
struct MenuDatabaseRead {
    bool opened = false;  // false: `error` says what failed
    std::string error;
    MenuTableSet tables;
};

// A reader process that has not answered in this time is stopped: the file is taken as damaged.
inline constexpr int kMenuReadTimeoutMs = 10000;

// Opens the database read-only and reads the table `root` and every table its sub-menus name.
// libmdb runs in a child process, so a damaged file that makes it crash or loop costs a warning
// instead of the program.
MenuDatabaseRead ReadMenuDatabase(const std::string& path, const std::string& root);

// The same over a database image already in memory; `path` names it in the messages.
MenuDatabaseRead ReadMenuDatabaseImage(std::string_view image, const std::string& path,
                                       const std::string& root);

// Empty when the file opens as a menu database, else what a load would say about it.
std::string MenuDatabaseOpenProblem(const std::string& path);

}  // namespace velterra
