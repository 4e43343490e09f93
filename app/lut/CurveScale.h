#pragma once
#include <cstdint>
#include <cstdlib>

#include "lut/LutModelTypes.h"

namespace velterra {

// The rounding used by every conversion between LUT values and pixels: truncate 2q + 1 toward
// zero, then halve rounding down. For q >= -0.5 that is q rounded half up; below it is not
// (R(-0.75) is 0), and curves stored by earlier versions depend on exactly this.
inline int64_t LutRound(double q) {
    return static_cast<int64_t>(2.0 * q + 1.0) >> 1;
}

struct ScreenPoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Mapping between a curve view of width x height pixels and LUT coordinates 0..entries-1.
// Screen y grows downwards, LUT Y upwards.
struct CurveScale {
    int width = 0;
    int height = 0;
    int entries = 0;

    bool IsUsable() const { return width > 0 && height > 0 && entries > 0; }

    int ToScreenX(int64_t lutX) const {
        return static_cast<int>(LutRound(double(width) * double(lutX) / entries));
    }
    int ToScreenY(int64_t lutY) const {
        return height - static_cast<int>(LutRound(double(height) * double(lutY) / entries)) - 1;
    }
    ScreenPoint ToScreen(int64_t lutX, int64_t lutY) const {
        return {ToScreenX(lutX), ToScreenY(lutY)};
    }

    int64_t ToLutX(int px) const { return LutRound(double(px) * entries / width); }
    int64_t ToLutY(int py) const { return LutRound((double(height) - py - 1) * entries / height); }
};

// Two screen points are near when neither distance exceeds five pixels.
inline bool IsNear(ScreenPoint a, ScreenPoint b) {
    return std::abs(a.x - b.x) <= 5 && std::abs(a.y - b.y) <= 5;
}

}  // namespace velterra
