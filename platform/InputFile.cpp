#include "InputFile.h"

namespace velterra::platform {

std::string InputFileProblem(const std::filesystem::path& path, uint32_t limitMb) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) return {};
    if (!std::filesystem::is_regular_file(status)) return path.string() + " is not a regular file";
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > uintmax_t{limitMb} * 1024 * 1024) {
        return path.string() + " is larger than " + std::to_string(limitMb) + " MB";
    }
    return {};
}

}  // namespace velterra::platform
