#pragma once
#include <string>

namespace velterra {

// printf-style formatting into a string, for the fixed message texts with placeholders.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The local time of day as "HH:MM:SS", the stamp of the connection log's lines.
std::string LocalTimeOfDay();

}  // namespace velterra
