#include "LegacyTableFile.h"

#include <cctype>
#include <climits>
#include <cstdio>

namespace velterra::bulk::legacy {
namespace {

constexpr int kValuesPerLine = 10;

// Reads one decimal integer the way "%d" does: leading white space, an optional sign, at least
// one digit. A number beyond the range of int stops the reading like any other bad text.
bool ReadInt(std::FILE* file, int32_t& value) {
    int c = std::fgetc(file);
    while (c != EOF && std::isspace(c)) c = std::fgetc(file);
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = std::fgetc(file);
    }
    if (c == EOF || !std::isdigit(c)) return false;
    long long magnitude = 0;
    while (c != EOF && std::isdigit(c)) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
        c = std::fgetc(file);
    }
    if (c != EOF) std::ungetc(c, file);
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX) return false;
    value = static_cast<int32_t>(signedValue);
    return true;
}

}  // namespace

FileResult ReadTableFile(const char* path, TableValues& values, int& numbers) {
    numbers = 0;
    std::FILE* file = path != nullptr ? std::fopen(path, "r") : nullptr;
    if (file == nullptr) return FileResult::OpenFailed;
    while (numbers < kPixels && ReadInt(file, values[static_cast<std::size_t>(numbers)])) {
        ++numbers;
    }
    return std::fclose(file) == 0 ? FileResult::Done : FileResult::CloseFailed;
}

FileResult WriteTableFile(const char* path, const TableValues& values) {
    std::FILE* file = path != nullptr ? std::fopen(path, "w") : nullptr;
    if (file == nullptr) return FileResult::OpenFailed;
    bool written = true;
    for (int i = 0; i < kPixels && written; ++i) {
        written = std::fprintf(file, "%d\t", values[static_cast<std::size_t>(i)]) > 0;
        if (written && (i + 1) % kValuesPerLine == 0) written = std::fputc('\n', file) != EOF;
    }
    const bool closed = std::fclose(file) == 0;
    return written && closed ? FileResult::Done : FileResult::CloseFailed;
}

}  // namespace velterra::bulk::legacy
