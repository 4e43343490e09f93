#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One INI file as the Windows profile functions see it: sections and keys in file order, names
// trimmed, values trimmed but otherwise as written (quotes and length are dealt with when a
// value is read). Lookups follow the profile rules: names match without regard to case, only
// the first section of a name counts and in it only the first key of a name.
class IniFile {
  public:
    struct Entry {
        std::string key;
        std::string value;  // trimmed, quotes still present, full length
        int line = 0;       // 1-based line number in the file
    };
    struct Section {
        std::string name;
        int line = 0;
        std::vector<Entry> entries;
    };

    // A missing or unreadable file gives an empty IniFile with Exists() false.
    static IniFile Load(const std::filesystem::path& path);
    static IniFile Parse(std::string_view text);

    bool Exists() const { return exists_; }
    const std::vector<Section>& Sections() const { return sections_; }

    // The section that lookups use for a name, or nullptr.
    const Section* FindSection(std::string_view name) const;
    // The entry that lookups use for section/key, or nullptr.
    const Entry* FindEntry(std::string_view section, std::string_view key) const;

    // GetPrivateProfileString: the value as a buffer of bufferSize bytes receives it (at most
    // bufferSize - 1 characters), or the default when the key is missing.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize = 128) const;
    // GetPrivateProfileInt: the default when the key is missing or its value empty.
    int32_t GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const;

  private:
    bool exists_ = false;
    std::vector<Section> sections_;
    // Lower-case names of the sections and keys that lookups use, so that a large file is not
    // searched from the top for every key a loader reads.
    std::unordered_map<std::string, std::size_t> sectionIndex_;
    std::vector<std::unordered_map<std::string, std::size_t>> keyIndex_;  // by section
};

// Case-insensitive (ASCII) equality of two names.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

// What a profile read makes of a stored value: one pair of matching enclosing quotes (double or
// single) removed, then cut to bufferSize - 1 characters.
std::string ProfileValueText(std::string_view storedValue, std::size_t bufferSize = 128);

// The Windows integer reader: leading blanks, optional sign, base prefix "0x", "0o" or "0b"
// (otherwise decimal, so "010" is ten), stop at the first character that is not a digit of the
// base, 32-bit wrap-around. Text without digits gives 0.
int32_t ParseProfileInteger(std::string_view text);
