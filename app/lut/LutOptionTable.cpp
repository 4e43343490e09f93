#include "lut/LutOptionTable.h"

#include <cstdio>

#include "lut/LutModelTypes.h"
#include "lut/LutTexts.h"

namespace velterra {

std::vector<std::string> LutOptionTexts(int colorMode, int taps) {
    if (colorMode == kLutColorModeColor) {
        return {LutTexts::kOptionRgbAllTaps, LutTexts::kOptionRTap1, LutTexts::kOptionGTap2,
                LutTexts::kOptionBTap3};
    }
    if (colorMode != kLutColorModeMono || taps < 1) return {};
    if (taps == 1) return {LutTexts::kOptionTap1Only};
    std::vector<std::string> texts{LutTexts::kOptionAllTaps};
    for (int t = 1; t <= taps; ++t) {
        char text[32];
        std::snprintf(text, sizeof text, LutTexts::kOptionTapFormat, t);
        texts.emplace_back(text);
    }
    return texts;
}

}  // namespace velterra
