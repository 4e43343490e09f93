#pragma once

// Fixed texts of the LUT subsystem (workbooks, editor), spelled exactly as users see them.
namespace LutTexts {
// --- LUT editor ---
inline constexpr const char* kOptionRgbAllTaps = "RGB (All-Taps)";
inline constexpr const char* kOptionRTap1 = "R (Tap-1)";
inline constexpr const char* kOptionGTap2 = "G (Tap-2)";
inline constexpr const char* kOptionBTap3 = "B (Tap-3)";
inline constexpr const char* kOptionTap1Only = "Tap-1 Only";
inline constexpr const char* kOptionAllTaps = "All-Taps";
inline constexpr const char* kOptionTapFormat = "Tap-%d";  // tap number from 1
inline constexpr const char* kAllTapsNote =
    " (Note: 'All-Taps' Option will refresh all taps by 'All-Taps' Option's curve)";
inline constexpr const char* kCoordinateFormat = "%d";  // Input and Output fields
// --- end of LUT editor ---
}  // namespace LutTexts
