#pragma once

namespace velterra {

// Fixed texts of the parameter view, spelled as the user sees them.
namespace ViewText {

inline constexpr const char* kLedDisabled = "Top-Right Light is disabled!";
inline constexpr const char* kOpenedPort = "Opened Port:";
inline constexpr const char* kPortType = "Port Type:";
inline constexpr const char* kModelInformation = "Camera Model Information:";
inline constexpr const char* kLed = "LED";
inline constexpr const char* kContentLevel = "Content Level:";
inline constexpr const char* kBasic = "Basic";
inline constexpr const char* kAdvanced = "Advanced";
inline constexpr const char* kAdmin = "Admin.";
inline constexpr const char* kErrorList = "Connection Error List";
inline constexpr const char* kMinValue = "Min. Value";
inline constexpr const char* kMaxValue = "Max. Value";
inline constexpr const char* kMinFormat = "Min.: %u";
inline constexpr const char* kMaxPrefix = "Max.: ";
inline constexpr const char* kRs232 = "RS-232";
inline constexpr const char* kCameraLink = "CameraLink";
inline constexpr const char* kNameColumn = "Name";
inline constexpr const char* kValueColumn = "Value";
inline constexpr const char* kLogLineFormat = "[%s] %s";  // time "%H:%M:%S", then the text
inline constexpr const char* kFilterPlaceholder = "Filter parameters (Esc clears)";
inline constexpr const char* kRefreshProgress = "Reading parameters: %v of %m";

}  // namespace ViewText

}  // namespace velterra
