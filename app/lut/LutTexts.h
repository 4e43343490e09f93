#pragma once

namespace velterra {

// Fixed texts of the LUT subsystem (workbooks, editor), spelled exactly as users see them.
namespace LutTexts {
// --- LUT workbooks ---
inline constexpr const char* kWorkbookFixedText = "Tavrin NX LUT";
inline constexpr const char* kWorkbookFixedTextV2 = "Tavrin NX LUT V2";
inline constexpr const char* kWorkbookColor = "Color";
inline constexpr const char* kWorkbookMono = "Mono";
inline constexpr const char* kIncorrectBitDepth = "Incorrect bit-depth value!";
inline constexpr const char* kInvalidFixedText = "Invalid Excel file content: Invalid Fixed Text!";
inline constexpr const char* kInvalidBitDepth =
    "Invalid Excel file content: Invalid Bit-depth Value!";
inline constexpr const char* kInvalidTapsNumber =
    "Invalid Excel file content: Invalid Taps Number Value!";
inline constexpr const char* kInvalidValue = "Invalid Excel file content: Invalid Value!";
// Our own: the workbook columns C to F hold at most 4 taps.
inline constexpr const char* kIncorrectTapsNumber = "Incorrect taps number value!";
// Our own: LUT data handed to the writer shorter than its bit depth and taps need.
inline constexpr const char* kIncompleteLutData = "Incomplete LUT data!";
// Our own, where a spreadsheet program would report a file it cannot open or save
// (file name, reason).
inline constexpr const char* kCannotOpenLutFile = "Couldn't open the LUT file \"%s\": %s";
inline constexpr const char* kCannotSaveLutFile = "Couldn't save the LUT file \"%s\": %s";
inline constexpr const char* kReasonNotWorkbook = "it is not an Excel workbook (.xlsx or .xls)";
inline constexpr const char* kReasonDamaged = "the workbook is damaged";
inline constexpr const char* kReasonNoWorksheet = "the workbook has no worksheet";
inline constexpr const char* kReasonTooLarge = "the worksheet is too large";
// --- end of LUT workbooks ---
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
inline constexpr const char* kVectorReadFailed = "Reading Tap-%d LUT vector data is failed!";
inline constexpr const char* kVectorsNotInAllTaps =
    "Note that LUT is updated and displayed to each tap, but not in this item (All-Taps)!\r\n"
    "Please select the separate tap to check the LUT content!";
// The dialog's own controls.
inline constexpr const char* kDialogTitle = "Look-Up Table User Interface";
inline constexpr const char* kColor = "Color";
inline constexpr const char* kMono = "Mono";
inline constexpr const char* kBitsFormat = "%d";
inline constexpr const char* kBitsLabel = "-bits Transfer per Tap";
inline constexpr const char* kOptionLabel = "Option:";
inline constexpr const char* kInputLabel = "Input:";
inline constexpr const char* kOutputLabel = "Output:";
inline constexpr const char* kImageView = "Image View";
inline constexpr const char* kCurveGroup = "Curve";
inline constexpr const char* kResetThisOption = "Reset This Option to Default";
inline constexpr const char* kResetAllOptions = "Reset All Options to Default";
inline constexpr const char* kSaveGroup = "Save LUT to File";
inline constexpr const char* kLoadGroup = "Load LUT from Camera";
inline constexpr const char* kWriteGroup = "Write LUT to Camera";
inline constexpr const char* kEachTapLut = "Each Tap's LUT data (except 'All-Taps' Option)";
inline constexpr const char* kEachTapVectors =
    "Vector data for each tap (except 'All-Taps' Option)";
inline constexpr const char* kByShownOption = "By the Option showed in Combo Box";
inline constexpr const char* kExit = "Exit";
// --- end of LUT editor ---
}  // namespace LutTexts

}  // namespace velterra
