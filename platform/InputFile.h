// The check a reader makes before it reads a whole file: only a regular file (a FIFO or a device
// would block or never end) and no larger than a limit far above any real file of its kind (so
// a wrong file is refused at once instead of filling the memory).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace velterra::platform {

// Limits in MB, per kind of file.
inline constexpr uint32_t kSettingsFileLimitMb = 64;
inline constexpr uint32_t kConfigFileLimitMb = 256;
inline constexpr uint32_t kWorkbookLimitMb = 256;

// Empty when the file may be read (or does not exist: the reader's own open tells that), else
// "PATH is not a regular file" or "PATH is larger than N MB".
std::string InputFileProblem(const std::filesystem::path& path, uint32_t limitMb);

}  // namespace velterra::platform
