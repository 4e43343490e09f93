#pragma once

namespace velterra {

// Fixed texts of the main window: the menu bar, the About box, and what an entry says whose
// window part is not built into this program yet.
namespace UiText {

inline constexpr const char* kProgramMenu = "&Program";
inline constexpr const char* kBasicCommandsMenu = "&Basic Commands";
inline constexpr const char* kAdvancedCommandsMenu = "&Advanced Commands";
inline constexpr const char* kHelpMenu = "&Help";
inline constexpr const char* kPasswordCommandsMenu = "Pass&word Commands";

inline constexpr const char* kOpenCamera = "&Open Camera...";
inline constexpr const char* kLoadVltFile = "&Load VLT File...";
inline constexpr const char* kSaveVltFileAs = "&Save VLT File As...";
inline constexpr const char* kExit = "E&xit";
inline constexpr const char* kAbout = "&About Velterra...";
inline constexpr const char* kAboutQt = "About &Qt...";
inline constexpr const char* kEmptyPlaceholder = "(Empty)";

// Window caption: document title, then the application title.
inline constexpr const char* kCaption = "%s - %s";

// The progress dialog of a camera function run from the menus: the Command.ini name of the
// function, then the bar's exchanges done of the total (Qt's %v and %m).
inline constexpr const char* kFunctionProgressTitle = "Camera Function";
inline constexpr const char* kFunctionProgressLabel = "Running %s with the camera...";
inline constexpr const char* kExchangesDone = "%v of %m exchanges";
inline constexpr const char* kStopFunction = "&Stop";

inline constexpr const char* kAboutTitle = "About Velterra";
inline constexpr const char* kAboutText =
    "Configures industrial line-scan cameras over RS-232 and Camera Link serial ports: "
    "parameters, camera functions, correction tables, LUTs and settings files.";

// "%s is not available yet." with one of the names below.
inline constexpr const char* kNotAvailableYet = "%s is not available yet.";
inline constexpr const char* kOpenCameraDialog = "The Open Camera dialog";
inline constexpr const char* kPixelSetDialog = "The Pixel Set dialog";
inline constexpr const char* kLoadSettingsFile = "Loading a settings file";
inline constexpr const char* kSaveSettingsFile = "Saving a settings file";
inline constexpr const char* kFlatFieldWizard = "The flat-field correction wizard";
inline constexpr const char* kLutToCamera = "Writing a LUT workbook to the camera";
inline constexpr const char* kLutFromCamera = "Reading the camera's LUT into a workbook";
inline constexpr const char* kLutEditor = "The LUT editor";
inline constexpr const char* kPortAtStart = "Opening a camera with --port";

// Help menu: the switch that offers the LUT functions of the command menus.
inline constexpr const char* kEnableLutFunctions = "Enable LUT Functions";
// Settings key of that switch (QSettings of the program).
inline constexpr const char* kLutFunctionsKey = "Menus/EnableLutFunctions";

// Progress of the LUT workbook transfers: tap n of taps, then what of it travels.
inline constexpr const char* kLutProgressTitle = "LUT Transfer";
inline constexpr const char* kLutProgressStarting = "Preparing the LUT transfer...";
inline constexpr const char* kLutProgressTable = "Tap %d of %d: LUT entries";
inline constexpr const char* kLutProgressNodes = "Tap %d of %d: vector nodes";

}  // namespace UiText

}  // namespace velterra
