#include "BadPixelsFile.h"

#include <climits>

#include "DataOpsTexts.h"
#include "core/FormatText.h"

namespace velterra::BadPixels {

namespace {

constexpr std::size_t kMaxBlockSize = 0xFFFF;

int16_t GetValue(std::span<const uint8_t> block, std::size_t at) {
    return static_cast<int16_t>(block[at] | (block[at + 1] << 8));
}

void PutValue(std::vector<uint8_t>& block, std::size_t at, int16_t value) {
    block[at] = static_cast<uint8_t>(value & 0xFF);
    block[at + 1] = static_cast<uint8_t>((static_cast<uint16_t>(value) >> 8) & 0xFF);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// One "%hd" conversion from the front of the text: blanks, a sign, at least one digit. The
// number is taken as a long and then cut to 16 bits, as the C library stores it.
bool TakeShort(std::string_view& text, int16_t& value) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t firstDigit = i;
    // strtol's range: a number beyond it stays at the limit.
    const unsigned long long limit = negative ? static_cast<unsigned long long>(LONG_MAX) + 1
                                              : static_cast<unsigned long long>(LONG_MAX);
    unsigned long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const unsigned digit = static_cast<unsigned>(text[i] - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    if (i == firstDigit) return false;
    const long number = !negative            ? static_cast<long>(magnitude)
                        : magnitude == limit ? LONG_MIN
                                             : -static_cast<long>(magnitude);
    value = static_cast<int16_t>(number);
    text.remove_prefix(i);
    return true;
}

// The lines of the file as a line reader hands them out; a line stops at a NUL as the C
// library's scan of it does.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (text_.empty()) return false;
        const std::size_t end = text_.find('\n');
        line = text_.substr(0, end);
        text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
        line = line.substr(0, line.find('\0'));
        return true;
    }

  private:
    std::string_view text_;
};

struct ListTexts {
    const char* countTooLarge;
    const char* pairLine;
};

Conversion Failure(std::string message) {
    Conversion result;
    result.message = std::move(message);
    return result;
}

// Reads a count line and its pair lines into the block at `at`; empty text on success.
std::string ReadList(LineReader& lines, int limit, const ListTexts& texts,
                     std::vector<uint8_t>& block, std::size_t at) {
    std::string_view line;
    int16_t count = 0;
    if (!lines.Next(line) || !TakeShort(line, count)) return DataOpsText::kFileInvalidFormat;
    if (count > limit) return FormatText(texts.countTooLarge, count);
    PutValue(block, at, count);
    for (int i = 0; i < count; ++i) {
        int16_t first = 0;
        int16_t second = 0;
        if (!lines.Next(line) || !TakeShort(line, first) || !TakeShort(line, second)) {
            return FormatText(texts.pairLine, count);
        }
        PutValue(block, at + 2 + 4 * static_cast<std::size_t>(i), first);
        PutValue(block, at + 4 + 4 * static_cast<std::size_t>(i), second);
    }
    return {};
}

// Appends a count and its pairs from the block at `at`; false when the count is above the limit.
bool WriteList(std::span<const uint8_t> block, std::size_t at, int limit, std::string& text,
               int16_t& count) {
    count = GetValue(block, at);
    if (count > limit) return false;
    text += FormatText("%d\n", count);
    for (int i = 0; i < count; ++i) {
        text += FormatText("%d\t%d\n", GetValue(block, at + 2 + 4 * static_cast<std::size_t>(i)),
                           GetValue(block, at + 4 + 4 * static_cast<std::size_t>(i)));
    }
    return true;
}

}  // namespace

std::size_t BlockSize(int even, int odd) {
    if (even < 0 || odd < 0 || even > static_cast<int>(kMaxBlockSize) ||
        odd > static_cast<int>(kMaxBlockSize)) {
        return 0;
    }
    const std::size_t size = odd > 0 ? static_cast<std::size_t>(even + odd) * 4 + 4
                                     : static_cast<std::size_t>(even) * 4 + 2;
    return size <= kMaxBlockSize ? size : 0;
}

Conversion TextOfBlock(std::span<const uint8_t> block, int even, int odd) {
    const std::size_t size = BlockSize(even, odd);
    if (size == 0 || block.size() < size) return Failure(DataOpsText::kFileInvalidFormat);
    Conversion result;
    int16_t count = 0;
    if (odd == 0) {
        if (!WriteList(block, 0, even, result.text, count)) {
            return Failure(FormatText(DataOpsText::kCameraRead, count));
        }
    } else {
        if (!WriteList(block, 0, even, result.text, count)) {
            return Failure(FormatText(DataOpsText::kCameraReadEven, count));
        }
        if (!WriteList(block, 2 + 4 * static_cast<std::size_t>(even), odd, result.text, count)) {
            return Failure(FormatText(DataOpsText::kCameraReadOdd, count));
        }
    }
    result.ok = true;
    return result;
}

Conversion BlockOfText(std::string_view text, int even, int odd) {
    const std::size_t size = BlockSize(even, odd);
    if (size == 0) return Failure(DataOpsText::kFileInvalidFormat);
    Conversion result;
    result.block.assign(size, 0);
    LineReader lines(text);
    std::string message;
    if (odd == 0) {
        message = ReadList(lines, even, {DataOpsText::kFileRead, DataOpsText::kFileReadLine},
                           result.block, 0);
    } else {
        message =
            ReadList(lines, even, {DataOpsText::kFileReadEven, DataOpsText::kFileReadEvenLine},
                     result.block, 0);
        if (message.empty()) {
            message =
                ReadList(lines, odd, {DataOpsText::kFileReadOdd, DataOpsText::kFileReadOddLine},
                         result.block, 2 + 4 * static_cast<std::size_t>(even));
        }
    }
    if (!message.empty()) return Failure(std::move(message));
    result.ok = true;
    return result;
}

}  // namespace velterra::BadPixels
