#pragma once

namespace velterra {

// Texts of the camera connection: the connection-log lines of parameter reads and writes (block
// display name, row display name, port name, then the value where there is one) and the boxes.
namespace EngineText {

inline constexpr const char* kReadValueFailed = "Reading [%s]->[%s] from %s (value) is failed!";
inline constexpr const char* kReadStringFailed = "Reading [%s]->[%s] from %s (string) is failed!";
inline constexpr const char* kReadListFailed = "Reading [%s]->[%s] from %s (drop-item) is failed!";
inline constexpr const char* kWriteValueFailed = "Writing [%s]->[%s] to %s (value [%u]) is failed!";
inline constexpr const char* kWriteStringFailed =
    "Writing [%s]->[%s] to %s (string [%s]) is failed!";
inline constexpr const char* kWriteListFailed =
    "Writing [%s]->[%s] to %s (drop-item [%s]) is failed!";

// Logged once when a run stops after failed exchanges in a row (port name).
inline constexpr const char* kCameraSilent = "the camera does not answer on %s";

inline constexpr const char* kCannotCommunicate =
    "Can't communicate with the remote device using %s!";

// Value text of a number outside its range, or of a list byte that names no item.
inline constexpr const char* kNotAvailable = "[N/A]";

// Title of a new document.
inline constexpr const char* kUntitled = "Untitled";

}  // namespace EngineText

}  // namespace velterra
