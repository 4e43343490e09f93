#pragma once

#include <cstdint>
#include <optional>

namespace velterra::bulk {

inline constexpr uint8_t kShortFrameKernel = 0;
inline constexpr uint8_t kMbKernel = 1;

// The camera kernel type the transport recorded for an open port; nothing when the port
// type is unknown, the port is not open or the recorded value is not a known kernel.
std::optional<uint8_t> QueryKernel(int32_t portType, int32_t portIndex);

}  // namespace velterra::bulk
