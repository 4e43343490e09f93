#include "IniProfile.h"

namespace {

// Keeps the first spelling of each name, compared as the profile reader compares names.
void AppendUnique(std::vector<std::string>& names, const std::string& name) {
    for (const auto& known : names) {
        if (ProfileNamesEqual(known, name)) return;
    }
    names.push_back(name);
}

}  // namespace

std::string ReadProfileString(std::string_view section, std::string_view key,
                              std::string_view defaultValue, const std::filesystem::path& path,
                              std::size_t bufferSize) {
    return IniFile::Load(path).GetString(section, key, defaultValue, bufferSize);
}

int32_t ReadProfileInt(std::string_view section, std::string_view key, int32_t defaultValue,
                       const std::filesystem::path& path) {
    return IniFile::Load(path).GetInt(section, key, defaultValue);
}

std::vector<std::string> ReadProfileSectionNames(const std::filesystem::path& path) {
    std::vector<std::string> names;
    IniFile file = IniFile::Load(path);
    for (const auto& section : file.Sections()) AppendUnique(names, section.name);
    return names;
}

std::vector<std::string> ReadProfileKeyNames(std::string_view section,
                                             const std::filesystem::path& path) {
    std::vector<std::string> names;
    IniFile file = IniFile::Load(path);
    if (const IniFile::Section* s = file.FindSection(section)) {
        for (const auto& entry : s->entries) AppendUnique(names, entry.key);
    }
    return names;
}
