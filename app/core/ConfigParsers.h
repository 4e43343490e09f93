#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace velterra {

// Parsers of the configuration values: access levels, "section "display name"" entries, list
// items, ranges, number texts and CAM_VL.ini model entries. They return texts at full length;
// the command table cuts them to its 63-character fields when it stores them.

// Characters that separate the fields of one value.
inline constexpr std::string_view kFieldSeparators = ";, \t";

// How a number text reads: longer than two characters and beginning with "0x" is hexadecimal
// (as the format "0x%x" reads it), anything else decimal (as atol reads it with a 32-bit long).
// The caller lower-cases the text first where the reader does.
struct NumberText {
    uint32_t value = 0;
    bool hexadecimal = false;
    bool hasDigits = false;   // false: "0x" without hex digits, or no leading digits at all
    bool outOfRange = false;  // a decimal text beyond the 32-bit signed range (clamped)
};
NumberText ReadNumberText(std::string_view text);
inline uint32_t ParseNumberText(std::string_view text) {
    return ReadNumberText(text).value;
}

// atol with a 32-bit long: blanks, sign, digits; clamped to the 32-bit signed range.
int32_t AtolText(std::string_view text);

// The 32-bit value of a parameter's value text, read as atol reads it (blanks, sign, leading
// digits) but keeping values from 2^31 up to 2^32 - 1: the document writes value texts with
// "%u", and a 32-bit atol would turn every 4-byte value above 2147483647 into 2147483647.
uint32_t ValueTextNumber(std::string_view text);

std::string LowerCase(std::string_view text);

// Access level of a yes/no or level value: "true" 1, "admin" 2, else the leading number as
// atoi reads it, 1 when positive and 0 otherwise. Trailing blanks and case do not count.
int32_t ParseLevel(std::string_view text);
// Whether ParseLevel recognises the text as meant ("true", "false", "admin" or a number), so
// that a word like "Yes" (which reads as 0) can be pointed out.
bool IsPlainLevelText(std::string_view text);

// Block and row entries: section name, separators, double-quoted display name. On failure the
// section name may already be set.
bool ParseNamedEntry(std::string_view value, std::string& sectionName, std::string& displayName);

// List items: number text (low 8 bits are the value), separators, double-quoted text.
// token receives the first token as written, for diagnostics.
bool ParseListItem(std::string_view value, uint8_t& itemValue, std::string& itemText,
                   std::string* token = nullptr);

// "max,min" as two number texts; a missing minimum is 0.
void ParseMaxMin(std::string_view value, uint32_t& max, uint32_t& min);

// CAM_VL.ini Branch_Type entry: two quoted texts, model name first, file name second.
bool ParseBranchEntry(std::string_view value, std::string& modelName, std::string& fileName);

}  // namespace velterra
