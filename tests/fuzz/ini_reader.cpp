// Fuzzes the INI reader: any bytes parse, and every lookup keeps the profile rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "IniFile.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const IniFile file = IniFile::Parse(text);
    ParseProfileInteger(text);

    for (const auto& section : file.Sections()) {
        const IniFile::Section* found = file.FindSection(section.name);
        Check(found != nullptr && ProfileNamesEqual(found->name, section.name));
        // Only the first section of a name is read; its repeats are invisible.
        if (found != &section) continue;
        for (const auto& entry : section.entries) {
            const IniFile::Entry* first = file.FindEntry(section.name, entry.key);
            Check(first != nullptr && ProfileNamesEqual(first->key, entry.key));
            for (std::size_t buffer :
                 {std::size_t{0}, std::size_t{1}, std::size_t{64}, std::size_t{128}}) {
                const std::string value = file.GetString(section.name, entry.key, "d", buffer);
                Check(buffer == 0 ? value.empty() : value.size() <= buffer - 1);
            }
            file.GetInt(section.name, entry.key, -1);
            ParseProfileInteger(entry.value);
        }
    }
    // A name that cannot be a section gives the default.
    Check(file.GetString("x\ny", "k", "default", 128) == "default");
    Check(file.GetInt("x\ny", "k", 42) == 42);
    return 0;
}
