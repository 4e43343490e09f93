#pragma once

namespace velterra {

// Hint numbers the document sends its views with an update.
namespace UpdateHint {

inline constexpr int kValuesChanged = 1;      // values or the table changed (block array passed)
inline constexpr int kConnectionChanged = 2;  // port name, port type and model to show again
inline constexpr int kLogMessage = 3;         // MessageText holds a line for the error log
inline constexpr int kCloseLutEditor = 4;     // close the modeless LUT editor
inline constexpr int kFinishEditing = 5;      // end any in-place edit

}  // namespace UpdateHint

}  // namespace velterra
