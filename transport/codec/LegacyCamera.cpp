#include "LegacyCamera.h"

namespace velterra::codec::legacy {

std::optional<TapPosition> MapPixel(int pixel) {
    if (pixel < 1 || pixel > kPixels) return std::nullopt;
    const bool odd = pixel % 2 != 0;
    int tap = 0;
    int index = 0;  // 1-based position within the tap
    if (pixel <= kPixels / 2) {
        tap = odd ? 1 : 2;
        index = odd ? (pixel + 1) / 2 : pixel / 2;
    } else {
        const int fromEnd = kPixels - pixel;
        tap = odd ? 4 : 3;
        index = odd ? (fromEnd + 1) / 2 : (fromEnd + 2) / 2;
    }
    return TapPosition{static_cast<uint8_t>(tap), static_cast<uint8_t>((index - 1) / kBlockLength),
                       static_cast<uint8_t>((index - 1) % kBlockLength)};
}

std::optional<int> PixelIndexOf(int tap, int tapPosition) {
    if (tapPosition < 0 || tapPosition >= kPixelsPerTap) return std::nullopt;
    switch (tap) {
        case 1:
            return 2 * tapPosition;
        case 2:
            return 2 * tapPosition + 1;
        case 3:
            return kPixels - 1 - 2 * tapPosition;
        case 4:
            return kPixels - 2 - 2 * tapPosition;
        default:
            return std::nullopt;
    }
}

}  // namespace velterra::codec::legacy
