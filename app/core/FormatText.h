#pragma once
#include <string>

namespace velterra {

// printf-style formatting into a string, for the fixed message texts with placeholders.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace velterra
