#pragma once

namespace velterra {

// Fixed texts of the camera data operations, spelled as the program shows them.
namespace DataOpsText {

// Files of the start-up directory.
inline constexpr const char* kFpnTableFile = "FPNTable.txt";
inline constexpr const char* kPrnuTableFile = "PRNUTable.txt";
inline constexpr const char* kImageTableFile = "ImageTable.txt";
inline constexpr const char* kBadPixelsFile = "BadPixels.txt";

// Connection-log lines (command id, port name).
inline constexpr const char* kSendingFailed = "Sending command 0x%X to %s is failed!";
inline constexpr const char* kReadingFailed = "Reading command 0x%X from %s is failed!";
inline constexpr const char* kBadPixelsReadFailed =
    "Reading camera bad pixel positions (command 0x%X) from %s is failed!";
inline constexpr const char* kBadPixelsWriteFailed =
    "Writing camera bad pixel positions (command 0x%X) to %s is failed!";

// Message boxes of the files the operations write.
inline constexpr const char* kFileOpenFail = "The file open fail.";
inline constexpr const char* kFileCloseFail = "The file close fail.";

// Bad pixel positions from the camera (count).
inline constexpr const char* kCameraReadEven =
    "Invalid data format of read Bad Pixel Positions from the camera (Read Even %d numbers)!";
inline constexpr const char* kCameraReadOdd =
    "Invalid data format of read Bad Pixel Positions from the camera (Read Odd %d numbers)!";
inline constexpr const char* kCameraRead =
    "Invalid data format of read Bad Pixel Positions from the camera (Read %d numbers)!";

// Bad pixel positions from BadPixels.txt (count).
inline constexpr const char* kFileInvalidFormat =
    "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Invalid file format)!";
inline constexpr const char* kFileReadEven =
    "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read Even %d numbers)!";
inline constexpr const char* kFileReadEvenLine =
    "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read Even %d numbers, "
    "but invalid line format)!";
inline constexpr const char* kFileReadOdd =
    "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read Odd %d numbers)!";
inline constexpr const char* kFileReadOddLine =
    "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read Odd %d numbers, "
    "but invalid line format)!";
inline constexpr const char* kFileRead =
    "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read %d numbers)!";
inline constexpr const char* kFileReadLine =
    "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read %d numbers, but "
    "invalid line format)!";
// BadPixels.txt does not open (path, reason).
inline constexpr const char* kFileCannotOpen = "Cannot open %s: %s";

// Refusals of requests the camera cannot take (nothing is sent).
inline constexpr const char* kPixelOutOfRange =
    "The one-pixel write is refused: pixel number %lld (0-based) is outside 0 to 8159, so "
    "nothing was sent. Use Pixel Set to enter a pixel number from 0 to 8159.";
inline constexpr const char* kChunkLengthRefused =
    "The image table command 0x%X of \"%s\" in Command.ini asks for %d bytes per chunk; an "
    "image table is read in chunks of 120 bytes (Bytes=0xF8), so nothing was read.";

// --- LUT transfers ---
// Connection-log lines of one tap (tap number from 1, port name).
inline constexpr const char* kSendingTapFailed = "Sending LUT data of Tap-%d to %s is failed!";
inline constexpr const char* kReadingTapFailed = "Reading LUT data of Tap-%d from %s is failed!";

// Message boxes of the workbook operations (tap number from 1).
inline constexpr const char* kCannotSetEveryScale =
    "Can't set Tap-%d data of LUT for every scale to camera!";
inline constexpr const char* kCannotSetVectorNodes =
    "Can't set Tap-%d data of LUT for vector nodes to camera!";
inline constexpr const char* kCannotReadLut = "Can't read LUT from camera!";
inline constexpr const char* kAllocatingFailed = "Allocating memory is failed!";

// File dialogs standing in for the spreadsheet program: LUT workbooks are read from .xlsx and
// .xls files and written as .xlsx.
inline constexpr const char* kOpenWorkbookFilter =
    "Microsoft Excel Files (*.xlsx;*.xls)|*.xlsx;*.xls||";
inline constexpr const char* kSaveWorkbookFilter = "Microsoft Excel Workbook (*.xlsx)|*.xlsx||";
inline constexpr const char* kSaveWorkbookExtension = "xlsx";
// --- end of LUT transfers ---

// --- flat-field correction wizard ---
inline constexpr const char* kFlatFieldTitle = "Flat-Field Correction";
inline constexpr const char* kFlatFieldDarkStep =
    "1. Please close the camera lens's lid;\n"
    "2. Then enter the Next button.";
inline constexpr const char* kFlatFieldBrightStep =
    "1. Please open the camera lens's lid;\n"
    "2. Let the camera lens aims at the white region;\n"
    "3. Then enter the Next button.";
inline constexpr const char* kFlatFieldComplete = "Flat Field Correction complete.";
inline constexpr const char* kFlatFieldTimerOut = "Flat Field Correction Timer Out!";
inline constexpr const char* kFlatFieldPleaseWait = "Please wait......";
inline constexpr const char* kFlatFieldSkip = "Skip";
inline constexpr const char* kFlatFieldNext = "Next";
inline constexpr const char* kFlatFieldFinish = "Finish";
inline constexpr const char* kFlatFieldCancel = "Cancel";
// --- end of flat-field correction wizard ---

}  // namespace DataOpsText

}  // namespace velterra
