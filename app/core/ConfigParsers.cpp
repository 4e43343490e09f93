#include "ConfigParsers.h"

#include <climits>

namespace velterra {

namespace {

bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char LowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSeparator(char c) {
    return kFieldSeparators.find(c) != std::string_view::npos;
}

std::string_view FirstToken(std::string_view value) {
    std::size_t end = value.find_first_of(kFieldSeparators);
    return end == std::string_view::npos ? value : value.substr(0, end);
}

std::string_view TrimTrailingWhite(std::string_view s) {
    while (!s.empty() && IsWhite(s.back())) s.remove_suffix(1);
    return s;
}

// Drops leading characters that occur in the token or among the separators, then trailing
// white space; what is left must be a double-quoted text. caseBlind compares letters of the
// value with the (lower-case) token without regard to case.
bool TakeQuotedRemainder(std::string_view value, std::string_view token, bool caseBlind,
                         std::string& text) {
    std::size_t i = 0;
    for (; i < value.size(); ++i) {
        char c = caseBlind ? LowerChar(value[i]) : value[i];
        if (token.find(c) == std::string_view::npos && !IsSeparator(value[i])) break;
    }
    std::string_view rest = TrimTrailingWhite(value.substr(i));
    if (rest.empty() || rest.front() != '"' || rest.back() != '"') return false;
    while (!rest.empty() && rest.front() == '"') rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == '"') rest.remove_suffix(1);
    text.assign(rest);
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// What "%x" makes of the text after the literal "0x": blanks, sign, an optional second prefix,
// hex digits; wraps at 32 bits.
NumberText ReadHexAfterPrefix(std::string_view s) {
    NumberText result;
    result.hexadecimal = true;
    std::size_t i = 0;
    while (i < s.size() && IsWhite(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i + 2 < s.size() && s[i] == '0' && LowerChar(s[i + 1]) == 'x' && HexDigit(s[i + 2]) >= 0) {
        i += 2;
    }
    uint32_t value = 0;
    for (; i < s.size() && HexDigit(s[i]) >= 0; ++i) {
        value = value * 16u + static_cast<uint32_t>(HexDigit(s[i]));
        result.hasDigits = true;
    }
    result.value = negative ? 0u - value : value;
    return result;
}

}  // namespace

std::string LowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = LowerChar(c);
    return out;
}

namespace {

struct DecimalScan {
    int64_t value = 0;  // saturated well beyond the 32-bit range
    bool hasDigits = false;
};

// atol's reading: blanks, an optional sign, then decimal digits up to the first other character.
DecimalScan ScanDecimal(std::string_view text) {
    DecimalScan scan;
    std::size_t i = 0;
    while (i < text.size() && IsWhite(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        scan.hasDigits = true;
        if (scan.value < (int64_t{1} << 40)) scan.value = scan.value * 10 + (text[i] - '0');
    }
    if (negative) scan.value = -scan.value;
    return scan;
}

}  // namespace

int32_t AtolText(std::string_view text) {
    int64_t value = ScanDecimal(text).value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

uint32_t ValueTextNumber(std::string_view text) {
    const int64_t value = ScanDecimal(text).value;
    if (value < 0) return static_cast<uint32_t>(AtolText(text));  // as atol: down to -2^31
    return value > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(value);
}

NumberText ReadNumberText(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && text[1] == 'x') {
        return ReadHexAfterPrefix(text.substr(2));
    }
    DecimalScan scan = ScanDecimal(text);
    NumberText result;
    result.value = static_cast<uint32_t>(AtolText(text));
    result.hasDigits = scan.hasDigits;
    result.outOfRange = scan.value > INT32_MAX || scan.value < INT32_MIN;
    return result;
}

int32_t ParseLevel(std::string_view text) {
    std::string lowered = LowerCase(TrimTrailingWhite(text));
    if (lowered == "true") return 1;
    if (lowered == "admin") return 2;
    return AtolText(lowered) >= 1 ? 1 : 0;
}

bool IsPlainLevelText(std::string_view text) {
    std::string lowered = LowerCase(TrimTrailingWhite(text));
    if (lowered == "true" || lowered == "false" || lowered == "admin") return true;
    std::size_t i = 0;
    if (i < lowered.size() && (lowered[i] == '+' || lowered[i] == '-')) ++i;
    if (i == lowered.size()) return false;
    for (; i < lowered.size(); ++i) {
        if (lowered[i] < '0' || lowered[i] > '9') return false;
    }
    return true;
}

bool ParseNamedEntry(std::string_view value, std::string& sectionName, std::string& displayName) {
    if (value.empty()) return false;
    std::string_view token = FirstToken(value);
    sectionName.assign(token);
    return TakeQuotedRemainder(value, token, false, displayName);
}

bool ParseListItem(std::string_view value, uint8_t& itemValue, std::string& itemText,
                   std::string* token) {
    if (value.empty()) return false;
    std::string_view first = FirstToken(value);
    if (token != nullptr) token->assign(first);
    std::string lowered = LowerCase(first);
    itemValue = static_cast<uint8_t>(ParseNumberText(lowered) & 0xFFu);
    return TakeQuotedRemainder(value, lowered, true, itemText);
}

void ParseMaxMin(std::string_view value, uint32_t& max, uint32_t& min) {
    std::string lowered = LowerCase(value);
    std::string_view rest = lowered;
    std::string_view first = FirstToken(rest);
    max = ParseNumberText(first);
    rest.remove_prefix(first.size());
    while (!rest.empty() && IsSeparator(rest.front())) rest.remove_prefix(1);
    min = ParseNumberText(FirstToken(rest));
}

bool ParseBranchEntry(std::string_view value, std::string& modelName, std::string& fileName) {
    std::string quoted = "\"" + std::string(value) + "\"";
    // Only the first 128 characters are looked at.
    std::size_t limit = quoted.size() < 128 ? quoted.size() : 128;
    std::size_t quotes[4];
    int found = 0;
    for (std::size_t i = 0; i < limit && found < 4; ++i) {
        if (quoted[i] == '"') quotes[found++] = i;
    }
    if (found < 4) return false;
    modelName = quoted.substr(quotes[0] + 1, quotes[1] - quotes[0] - 1);
    fileName = quoted.substr(quotes[2] + 1, quotes[3] - quotes[2] - 1);
    return true;
}

}  // namespace velterra
