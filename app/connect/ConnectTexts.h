#pragma once

// Message boxes of connecting and identifying a camera, and of the access code check.
namespace ConnectText {

inline constexpr const char* kCannotConnect = "Can't connect with the remote device using %s!";
inline constexpr const char* kUnknownModel =
    "Remote device %s is ready, but the program can't get the model information of this device "
    "from the configuration file!";
inline constexpr const char* kNoCommandFile =
    "Remote device %s is ready, but the program can't get the detailed configuration file about "
    "this device!";

inline constexpr const char* kIncorrectPassword = "Incorrect password!";

}  // namespace ConnectText
