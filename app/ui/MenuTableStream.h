#pragma once
#include <string>
#include <string_view>

#include "MenuTableSet.h"

namespace velterra {

// The bytes by which the database reader process hands its tables back: a status, then the
// tables. The reading side trusts nothing in them.
enum class MenuReadStatus : char {
    Read = 'R',           // the tables follow
    NotADatabase = 'N',   // the file is no Access database
    TooManyTables = 'T',  // the sub-menus name more tables than a load reads
    TooLarge = 'L',       // the tables hold more rows or text than a load reads
};

std::string EncodeMenuTables(MenuReadStatus status, const MenuTableSet& tables);

// False when the bytes are not a whole, well-formed stream.
bool DecodeMenuTables(std::string_view bytes, MenuReadStatus& status, MenuTableSet& tables);

}  // namespace velterra
