#pragma once

#include <cstdint>
#include <optional>

// Layout of the legacy 8160-pixel sensor: four taps of 2040 pixels, each tap in 17 blocks of
// 120 positions. Taps 1 and 2 run upward from pixels 1 and 2 (odd and even pixels), taps 3
// and 4 run downward from pixels 8160 and 8159.
namespace velterra::bulk::legacy {

inline constexpr int kPixels = 8160;
inline constexpr int kTaps = 4;
inline constexpr int kPixelsPerTap = 2040;
inline constexpr int kBlocksPerTap = 17;
inline constexpr int kBlockLength = 120;
inline constexpr int kHalfBlockLength = 60;

struct TapPosition {
    uint8_t tap;       // 1..4
    uint8_t block;     // 0..16
    uint8_t position;  // 0..119 within the block
};

// Where pixel 1..8160 lives; nothing for any other pixel number.
std::optional<TapPosition> MapPixel(int pixel);

// Index (0-based, file order) of the value at position 0..2039 of tap 1..4.
int FileIndexOf(int tap, int tapPosition);

}  // namespace velterra::bulk::legacy
