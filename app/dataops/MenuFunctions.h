#pragma once
#include <cstdint>
#include <string>

#include "CameraFunctions.h"

namespace velterra {

// Codes of the built-in functions the menu database names by keyword.
namespace BuiltinFunction {
inline constexpr int kRefreshAll = 1;
inline constexpr int kFlatField = 2;
inline constexpr int kFpnPrnuWrite = 3;
inline constexpr int kFpnPrnuRead = 4;
inline constexpr int kOnePixelSet = 5;
inline constexpr int kLutWrite = 6;
inline constexpr int kLutRead = 7;
inline constexpr int kLutDialog = 8;
inline constexpr int kBadPixelsWrite = 9;
inline constexpr int kBadPixelsRead = 10;
}  // namespace BuiltinFunction

inline constexpr const char* kFunctionNotSupported = "This function isn't supported!!";

// What the document runs for a database menu entry, without the menus themselves.
enum class MenuRun {
    Done,         // ran (its failures are logged or shown by the operation)
    Failed,       // ran and did not succeed
    OtherPart,    // codes 2, 6, 7 and 8: the flat-field wizard and the LUT functions
    Unsupported,  // a code outside 1 to 10: "This function isn't supported!!" was shown
};

// The Command.ini function a built-in function sends: 3 and 4 the FPN/PRNU tables, 5 the
// one-pixel write, 9 and 10 the bad-pixel lists; empty for the other codes.
std::string BuiltinFunctionCommand(int code);

// Built-in functions 1, 3, 4, 5, 9 and 10 (the bad-pixel ones with the limits 8 and 8). The
// document's Busy flag is set while one runs, and the lamp repainted as it changes.
MenuRun RunBuiltinFunction(CameraFunctions& functions, int code);

// An entry bound to a Command.ini name: the poll timer, the function, and with the entry's
// refresh flag (bit 0) the document's RefreshRequested.
MenuRun RunCommandEntry(CameraFunctions& functions, const std::string& name, uint8_t refreshFlag);

}  // namespace velterra
