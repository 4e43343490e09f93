#pragma once

// Texts the legacy 8160-pixel table transfer shows through the message handler.
namespace velterra::bulk::texts {

inline constexpr const char* kSendingFailed = "Sending command 0x%X to COM%d is failed!";
inline constexpr const char* kReadingFailed = "Reading command 0x%X from COM%d is failed!";
inline constexpr const char* kFileOpenFail = "The file open fail.";
inline constexpr const char* kFileCloseFail = "The file close fail.";
// A table file that runs out of numbers must not leave the camera with made-up values.
inline constexpr const char* kFileTooShort =
    "The file %s holds only %d readable numbers of the 8160 a table needs; nothing was sent to "
    "the camera.";

}  // namespace velterra::bulk::texts
