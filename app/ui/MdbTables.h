#pragma once
#include <cstddef>
#include <string>

#include "MenuTableSet.h"
#include "MenuTableStream.h"

namespace velterra {

// Limits of one load, far above any real menu database, so a damaged or hostile file cannot
// make a load read without end.
inline constexpr std::size_t kMenuTableLimit = 256;
inline constexpr std::size_t kMenuRowLimit = 100000;
inline constexpr std::size_t kMenuTextLimit = 32u << 20;

// Reads, with libmdb, the table `root` of the database image and every table its sub-menu
// rows name, directly or further down, each once. A table the database does not have is left
// out. libmdb trusts the file it reads, so this runs only where a crash harms nothing (the
// reader process of ReadMenuDatabase).
MenuReadStatus ReadMdbTables(const void* image, std::size_t size, const std::string& root,
                             MenuTableSet& tables);

}  // namespace velterra
