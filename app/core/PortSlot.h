#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "velterradll.h"

namespace velterra {

// The program's ten port slots: 0-5 are Camera Link serial ports ("clser-0".."clser-5", port
// number = slot), 6-9 are RS-232 ports ("COM1".."COM4", port number = slot - 6).
namespace PortSlot {

inline constexpr int kCount = 10;
inline constexpr int kFirstComSlot = 6;

// Port types of the protocol library.
inline constexpr int32_t kCameraLink = TVR_PORT_CAMERA_LINK;
inline constexpr int32_t kRs232 = TVR_PORT_RS232;

inline bool IsValid(int slot) {
    return slot >= 0 && slot < kCount;
}

// Port index passed to the protocol library.
inline int PortNumber(int slot) {
    return slot >= kFirstComSlot ? slot - kFirstComSlot : slot;
}

// The transport a slot belongs to by its number; the registry's tag says the same.
inline int32_t TransportOf(int slot) {
    return slot >= kFirstComSlot ? kRs232 : kCameraLink;
}

// "clser-%d" or "COM%d"; empty for a slot outside 0..9.
std::string Name(int slot);

// A port name as a user types it: "COM1".."COM4" or "clser-0".."clser-5", letters in any case.
std::optional<int> Parse(std::string_view name);

}  // namespace PortSlot

}  // namespace velterra
