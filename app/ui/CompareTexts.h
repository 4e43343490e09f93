#pragma once

namespace velterra {

// Texts of "Compare with VLT File..." in the window.
namespace CompareText {

inline constexpr const char* kMenuEntry = "Compare with VLT &File...";
inline constexpr const char* kDialogTitle = "Compare with VLT File";
inline constexpr const char* kReading = "Reading the camera's parameters...";
inline constexpr const char* kWriting = "Writing the chosen values into the camera...";
inline constexpr const char* kStop = "&Stop";
// The file's name, the camera's model and port, the differences and the compared count.
inline constexpr const char* kSummary = "%s against %s on %s: %d of %d parameters differ.";
inline constexpr const char* kStopped = "Stopped before every parameter was read.";
inline constexpr const char* kUnreadable = "Not read from the camera (see the connection log): %s";
inline constexpr const char* kNotInFile = "Not in the file: %s";
inline constexpr const char* kParameterColumn = "Parameter";
inline constexpr const char* kFileColumn = "File";
inline constexpr const char* kCameraColumn = "Camera";
inline constexpr const char* kWriteButton = "&Write checked values to the camera";
inline constexpr const char* kCloseButton = "&Close";
inline constexpr const char* kSame = "The camera's values are those of %s.";
// Written, failed.
inline constexpr const char* kWritten =
    "%d value(s) written into the camera, %d failed (see the connection log).";

}  // namespace CompareText

}  // namespace velterra
