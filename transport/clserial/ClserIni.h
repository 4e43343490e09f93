// The "DLL" list of clser.ini: which clser libraries serve the Camera Link ports, card by card.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velterra::clserial {

// Whether a "DLL" value names a clser library: lower-cased, longer than 9 characters, beginning
// with "clser" and ending in ".dll" (or ".so" on this platform).
bool IsClserLibraryName(std::string_view value);

// The values of keys "0", "1", ... of section "DLL", as written, up to the first key that is
// missing or does not name a clser library.
std::vector<std::string> ReadClserLibraryNames(const std::filesystem::path& iniPath);

// clser.ini in the current directory (empty when the directory cannot be told).
std::filesystem::path ClserIniPath();

}  // namespace velterra::clserial
