#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace velterra {

// The camera kernel type a connected port is used with: 0 short frames, 1 MB frames.
inline constexpr uint8_t kShortFrameKernel = 0;
inline constexpr uint8_t kMbFrameKernel = 1;

// How the kernel is chosen at identification: from the model text (the protocol library's own
// detection), or forced by the user for a camera the rule does not know.
enum class KernelChoice { Auto, ShortFrames, MbFrames };

// MB-frame cameras report a model text of exactly 14 characters ending in "M".
inline uint8_t KernelOfModelText(std::string_view modelText) {
    return modelText.size() == 14 && modelText.back() == 'M' ? kMbFrameKernel : kShortFrameKernel;
}

inline uint8_t ChooseKernel(KernelChoice choice, std::string_view modelText) {
    switch (choice) {
        case KernelChoice::ShortFrames:
            return kShortFrameKernel;
        case KernelChoice::MbFrames:
            return kMbFrameKernel;
        case KernelChoice::Auto:
            break;
    }
    return KernelOfModelText(modelText);
}

// "auto", "0" or "1"; nothing for any other text.
inline std::optional<KernelChoice> ParseKernelChoice(std::string_view text) {
    if (text == "auto") return KernelChoice::Auto;
    if (text == "0") return KernelChoice::ShortFrames;
    if (text == "1") return KernelChoice::MbFrames;
    return std::nullopt;
}

}  // namespace velterra
