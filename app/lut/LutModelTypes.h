#pragma once
#include <cstdint>

namespace velterra {

// Storage shapes shared by the LUT model and the curve editor.

// One vector node of a curve: input X, output Y.
struct LutNode {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const LutNode&, const LutNode&) = default;
};

inline constexpr int kLutMaxNodes = 10;
// Mono needs the all-taps option plus up to four taps; colour uses the first four slots.
inline constexpr int kLutMaxOptions = 5;
inline constexpr int kLutMaxMonoTaps = 4;
inline constexpr int kLutColorTaps = 3;
inline constexpr int kLutColorBits = 8;

inline constexpr int kLutColorModeNone = -1;
inline constexpr int kLutColorModeColor = 0;
inline constexpr int kLutColorModeMono = 1;

// Depths whose curves are computed and drawn.
inline constexpr bool IsSupportedLutDepth(int bits) {
    return bits == 8 || bits == 10 || bits == 12 || bits == 14;
}

// Entries of one LUT. The count is kept in 16 bits, as the storage has always done; depths of 16
// or more are refused before this is used.
inline constexpr int16_t LutEntryCount(int16_t bits) {
    return (bits >= 0 && bits < 16) ? static_cast<int16_t>(1 << bits) : int16_t{0};
}

}  // namespace velterra
