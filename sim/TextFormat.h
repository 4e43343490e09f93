#pragma once

#include <cstdio>
#include <string>

namespace velterra::sim {

// printf-style formatting of the fixed texts into a string.
template <typename... Args>
std::string FormatText(const char* format, Args... args) {
    const int size = std::snprintf(nullptr, 0, format, args...);
    if (size <= 0) return {};
    std::string out(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(out.data(), out.size(), format, args...);
    out.resize(static_cast<std::size_t>(size));
    return out;
}

}  // namespace velterra::sim
