#pragma once
#include <array>

namespace velterra {

// Command.ini sections the program sends by name (the menu database names further ones).
namespace CommandName {

inline constexpr const char* kGetLEDState = "GetLEDState";
inline constexpr const char* kLutRW = "LutRW";
inline constexpr const char* kWaitCmd = "WaitCmd";
inline constexpr const char* kBadPixelsPos = "BadPixelsPos";
inline constexpr const char* kFPNPRNUWrite = "FPNPRNUWrite";
inline constexpr const char* kFPNPRNURead = "FPNPRNURead";
inline constexpr const char* kOnePixelWrite = "OnePixelWrite";
inline constexpr const char* kFrnCoef = "FrnCoef";
inline constexpr const char* kPrnuCoef = "PrnuCoef";

inline constexpr std::array<const char*, 9> kCalledByProgram = {
    kGetLEDState, kLutRW,         kWaitCmd, kBadPixelsPos, kFPNPRNUWrite,
    kFPNPRNURead, kOnePixelWrite, kFrnCoef, kPrnuCoef};

}  // namespace CommandName

}  // namespace velterra
