#pragma once
#include <string>
#include <vector>

namespace velterra {

// The Program menu's list of recently used settings files, newest first.
inline constexpr std::size_t kRecentFileCount = 4;

// Puts path first; an entry of the same path moves up instead of appearing twice, and the list
// keeps the newest kRecentFileCount. Empty paths are not listed.
void AddRecentFile(std::vector<std::string>& files, const std::string& path);

}  // namespace velterra
