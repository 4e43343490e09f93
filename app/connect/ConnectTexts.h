#pragma once

namespace velterra {

// Texts of connection management: the messages of connecting and identifying a camera and of
// the access code check, and the texts of the Open Camera and Selection Mode dialogs.
namespace ConnectText {

inline constexpr const char* kCannotConnect = "Can't connect with the remote device using %s!";
inline constexpr const char* kUnknownModel =
    "Remote device %s is ready, but the program can't get the model information of this device "
    "from the configuration file!";
inline constexpr const char* kNoCommandFile =
    "Remote device %s is ready, but the program can't get the detailed configuration file about "
    "this device!";

// The Password dialog.
inline constexpr const char* kPasswordTitle = "Password";
inline constexpr const char* kEnterPassword = "Enter Password:";
inline constexpr const char* kIncorrectPassword = "Incorrect password!";

// The Pixel Set dialog.
inline constexpr const char* kPixelSetTitle = "Pixel Set";
inline constexpr const char* kFpnRadio = "FPN";
inline constexpr const char* kPrnuRadio = "PRNU";
inline constexpr const char* kPixelNumberLabel = "Set Pixel Number (0-based)";
inline constexpr const char* kPixelValueLabel = "Set Value (0-based)";
inline constexpr const char* kSetButton = "Set";
inline constexpr const char* kCheckPixelNumber = "Please Check Input pixel numer";

// The Open Camera dialog.
inline constexpr const char* kOpenCameraTitle = "Open Camera";
inline constexpr const char* kPortColumn = "Port";
inline constexpr const char* kStatusColumn = "Status";
inline constexpr const char* kRemoteDeviceColumn = "Remote Device";
inline constexpr const char* kOpenPortButton = "O&pen selected port";
inline constexpr const char* kClosePortButton = "C&lose selected port";
inline constexpr const char* kSelectionModeButton = "&Selection Mode";
inline constexpr const char* kOkButton = "&OK";
inline constexpr const char* kCancelButton = "&Cancel";
inline constexpr const char* kExitButton = "E&xit";  // Cancel, once a port's state has changed
inline constexpr const char* kPortsListLabel =
    "Ports list: (ignore failed ports, except \"Figure one port forcely\" mode)";
// Under the list while a port is opened and probed or identified, with the port name.
inline constexpr const char* kProbingPort = "Probing %s...";

// Registry status of a listed port (an empty text for a free port).
inline constexpr const char* kUsed = "Used";
inline constexpr const char* kFailed = "Failed";
inline constexpr const char* kUsedByOther = "Used by other process";

// What the last scan or connect found on a listed port (an empty text when not probed).
inline constexpr const char* kExistedDisconnected = "Existed, but disconnected";
inline constexpr const char* kConnectedTo = "Connected to [%s]";
inline constexpr const char* kNoneBusy = "None/Busy";

// The Selection Mode dialog.
inline constexpr const char* kSelectionModeTitle = "Selection Mode for CL/COM Ports";
inline constexpr const char* kBaudRateLabel = "Baud Rate:";
inline constexpr const char* kSearchAllRadio = "Search all usable ports";
inline constexpr const char* kForceOneRadio = "Figure one port forcely:";
inline constexpr const char* kListSearchedRadio = "List searched ports (ignore failed ports)";
inline constexpr const char* kCardLabel = "If choose CL-SERIAL port, select a card:";
inline constexpr const char* kCameraLinkRoot = "CL-SERIAL Type";
inline constexpr const char* kComRoot = "COM-Port Type";
inline constexpr const char* kPort0Leaf = "port0";
inline constexpr const char* kPort1Leaf = "port1";
inline constexpr const char* kCom3Leaf = "COM3";
inline constexpr const char* kCom4Leaf = "COM4";
inline constexpr const char* kErrorCard = "(Error Card)";
inline constexpr const char* kSelectPort = "Please select a port!";
inline constexpr const char* kChooseEffectiveCard =
    "Choose Error Card! Please choose an effective card!";

// clser.ini in the start-up directory: the clser library of each card and its caption.
inline constexpr const char* kClserIniFile = "clser.ini";
inline constexpr const char* kClserDllSection = "DLL";
inline constexpr const char* kClserCaptionKey = "Caption";

}  // namespace ConnectText

}  // namespace velterra
