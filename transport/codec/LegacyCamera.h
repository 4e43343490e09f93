#pragma once

#include <cstdint>
#include <optional>

// The legacy 8160-pixel camera as both ends of the line know it: its fixed command ids and its
// sensor layout. Four taps of 2040 pixels, each tap in 17 blocks of 120 positions; taps 1 and 2
// run upward from pixels 1 and 2 (odd and even pixels), taps 3 and 4 run downward from pixels
// 8160 and 8159. The host library and the simulated camera share it, so they cannot disagree.
namespace velterra::codec::legacy {

// Command ids, fixed in the camera and in the host library (not in the model files).
inline constexpr uint8_t kReadHalfBlock = 0xC5;       // 60 values of the selected half block
inline constexpr uint8_t kWriteHalfBlock = 0xC6;      // tap, block, half and 60 values
inline constexpr uint8_t kSelectHalfBlock = 0xC7;     // table, tap, block, half for the reads
inline constexpr uint8_t kReadImageHalfBlock = 0xC8;  // the image table's selected half block
inline constexpr uint8_t kWriteOnePixel = 0xC9;       // kind, tap, block, position, value

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

// The 0-based pixel index (file order) of position 0..2039 of tap 1..4; nothing outside them.
std::optional<int> PixelIndexOf(int tap, int tapPosition);

}  // namespace velterra::codec::legacy
