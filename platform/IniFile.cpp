#include "IniFile.h"

#include <fstream>
#include <iterator>

#include "InputFile.h"

namespace {

bool IsBlank(char c) {
    // The profile reader also treats Ctrl-Z (an old end-of-file mark) as white space.
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == '\x1a';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = LowerAscii(c);
    return lower;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

}  // namespace

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

std::string ProfileValueText(std::string_view storedValue, std::size_t bufferSize) {
    std::string_view v = storedValue;
    if (v.size() > 1 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    if (bufferSize == 0) return {};
    if (v.size() > bufferSize - 1) v = v.substr(0, bufferSize - 1);
    return std::string(v);
}

int32_t ParseProfileInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (IsBlank(text[i]) || text[i] == '\0')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        switch (text[i + 1]) {
            case 'x':
                base = 16;
                i += 2;
                break;
            case 'o':
                base = 8;
                i += 2;
                break;
            case 'b':
                base = 2;
                i += 2;
                break;
            default:
                break;
        }
    }
    uint32_t value = 0;  // unsigned, so overflow wraps as the Windows reader's does
    for (; i < text.size(); ++i) {
        int digit = DigitValue(text[i]);
        if (digit >= base) break;
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

IniFile IniFile::Load(const std::filesystem::path& path) {
    // Only regular files are configuration files: a directory, a FIFO or a device such as
    // /dev/zero reads as a missing file instead of throwing or reading for ever, and so does a
    // file far larger than any configuration.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return IniFile{};
    using namespace velterra::platform;
    if (!InputFileProblem(path, kConfigFileLimitMb).empty()) return IniFile{};
    std::ifstream in(path, std::ios::binary);
    if (!in) return IniFile{};
    std::string text;
    try {
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        return IniFile{};
    }
    if (in.bad()) return IniFile{};
    return Parse(text);
}

IniFile IniFile::Parse(std::string_view text) {
    IniFile file;
    file.exists_ = true;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // UTF-8 mark of editors

    Section* current = nullptr;
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        // LF, CRLF and CR all end a line.
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == '\r') {
            ++pos;
            if (pos < text.size() && text[pos] == '\n') ++pos;
        } else if (pos < text.size()) {
            ++pos;
        }
        ++lineNumber;

        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            std::size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                file.sections_.push_back(
                    {std::string(Trim(line.substr(1, close - 1))), lineNumber, {}});
                current = &file.sections_.back();
                continue;
            }
        }
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || current == nullptr) continue;
        current->entries.push_back({std::string(Trim(line.substr(0, equals))),
                                    std::string(Trim(line.substr(equals + 1))), lineNumber});
    }

    // Only the first section of a name counts, and in it only the first key of a name.
    file.keyIndex_.resize(file.sections_.size());
    for (std::size_t s = 0; s < file.sections_.size(); ++s) {
        if (!file.sectionIndex_.emplace(LowerName(file.sections_[s].name), s).second) continue;
        const auto& entries = file.sections_[s].entries;
        for (std::size_t e = 0; e < entries.size(); ++e) {
            file.keyIndex_[s].emplace(LowerName(entries[e].key), e);
        }
    }
    return file;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    auto found = sectionIndex_.find(LowerName(Trim(name)));
    return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

const IniFile::Entry* IniFile::FindEntry(std::string_view section, std::string_view key) const {
    auto s = sectionIndex_.find(LowerName(Trim(section)));
    if (s == sectionIndex_.end()) return nullptr;
    const auto& keys = keyIndex_[s->second];
    auto e = keys.find(LowerName(Trim(key)));
    return e == keys.end() ? nullptr : &sections_[s->second].entries[e->second];
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view defaultValue, std::size_t bufferSize) const {
    if (const Entry* entry = FindEntry(section, key))
        return ProfileValueText(entry->value, bufferSize);
    // The profile reader drops trailing blanks of the default and cuts it like a value.
    while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
    if (bufferSize == 0) return {};
    return std::string(defaultValue.substr(0, bufferSize - 1));
}

int32_t IniFile::GetInt(std::string_view section, std::string_view key,
                        int32_t defaultValue) const {
    const Entry* entry = FindEntry(section, key);
    if (entry == nullptr) return defaultValue;
    std::string text = ProfileValueText(entry->value);
    if (text.empty()) return defaultValue;
    return ParseProfileInteger(text);
}
