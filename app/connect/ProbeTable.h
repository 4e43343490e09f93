#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "core/PortSlot.h"

namespace velterra {

// What this process knows about each port slot from its scans and connects. It lives for the
// whole process and is shared by every Open Camera dialog.
namespace ProbeStatus {
inline constexpr uint8_t kNotProbed = 0;
inline constexpr uint8_t kAnswered = 1;     // opened, the camera answered the alive check
inline constexpr uint8_t kConnected = 2;    // connected and identified
inline constexpr uint8_t kNoAnswer = 0xFF;  // no answer, or identification failed
}  // namespace ProbeStatus

struct ProbeEntry {
    uint8_t Status = ProbeStatus::kNotProbed;
    uint8_t Kernel = 0;            // camera kernel type the connected port is used with
    std::string RemoteDeviceName;  // model name, at most 63 characters
};

class ProbeTable {
  public:
    static constexpr std::size_t kNameChars = 63;

    void Clear() { entries_.fill(ProbeEntry{}); }
    // slot must be valid (PortSlot::IsValid).
    ProbeEntry& operator[](int slot) { return entries_[static_cast<std::size_t>(slot)]; }
    const ProbeEntry& operator[](int slot) const {
        return entries_[static_cast<std::size_t>(slot)];
    }

  private:
    std::array<ProbeEntry, PortSlot::kCount> entries_{};
};

// The table of this process.
ProbeTable& ProcessProbeTable();

}  // namespace velterra
