// Millisecond clock and sleep, standing in for GetTickCount and Sleep.
#pragma once

#include <cstdint>

namespace velterra::platform {

// Milliseconds on a monotonic clock; wraps at 2^32 like the tick count it replaces, so compare
// ticks by unsigned subtraction.
uint32_t TickCount();

// Elapsed milliseconds since `start`, correct across a wrap.
inline uint32_t TicksSince(uint32_t start) {
    return TickCount() - start;
}

void SleepMs(uint32_t milliseconds);

}  // namespace velterra::platform
