#include "ClserIni.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>

#include "IniFile.h"

namespace velterra::clserial {

namespace {

constexpr std::size_t kValueBufferSize = 256;
constexpr std::size_t kShortestRejectedLength = 9;

}  // namespace

bool IsClserLibraryName(std::string_view value) {
    std::string lower(value);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.size() <= kShortestRejectedLength) return false;
    if (!lower.starts_with("clser")) return false;
    return lower.ends_with(".dll") || lower.ends_with(".so");
}

std::vector<std::string> ReadClserLibraryNames(const std::filesystem::path& iniPath) {
    std::vector<std::string> names;
    if (iniPath.empty()) return names;
    const IniFile file = IniFile::Load(iniPath);
    for (int key = 0;; ++key) {
        std::string value = file.GetString("DLL", std::to_string(key), "", kValueBufferSize);
        if (!IsClserLibraryName(value)) break;
        names.push_back(std::move(value));
    }
    return names;
}

std::filesystem::path ClserIniPath() {
    char directory[PATH_MAX];
    if (getcwd(directory, sizeof directory) == nullptr) return {};
    return std::filesystem::path(directory) / "clser.ini";
}

}  // namespace velterra::clserial
