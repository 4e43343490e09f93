#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "IniFile.h"

// The profile functions every configuration reader uses (CAM_VL.ini, model command files,
// Command.ini, clser.ini, comports.ini). Each call reads the file afresh, as the Windows
// functions they stand in for do; a missing file or key gives the default.

// Buffer size of a profile string read: a value counts with at most 127 characters.
inline constexpr std::size_t kProfileBufferSize = 128;

std::string ReadProfileString(std::string_view section, std::string_view key,
                              std::string_view defaultValue, const std::filesystem::path& path,
                              std::size_t bufferSize = kProfileBufferSize);

int32_t ReadProfileInt(std::string_view section, std::string_view key, int32_t defaultValue,
                       const std::filesystem::path& path);

// Section names in file order (each name once, as first written).
std::vector<std::string> ReadProfileSectionNames(const std::filesystem::path& path);

// Key names of a section in file order (each name once, as first written).
std::vector<std::string> ReadProfileKeyNames(std::string_view section,
                                             const std::filesystem::path& path);
