// Clearing a serial line after a failed exchange, so the rest of a refused or late reply is
// not read as the next exchange's acknowledge and data.
#pragma once

#include <cstdint>
#include <functional>

namespace velterra::platform {

// How long a line must stay silent before a failed exchange counts as over, and how long the
// clearing may take at most on a line that never falls silent.
inline constexpr uint32_t kLineQuietMs = 500;
inline constexpr uint32_t kLineDrainLimitMs = 5000;

// Calls `discardWaiting` (drop what is queued now, return how many bytes it dropped, without
// waiting) until it has dropped nothing for `quietMs`, or `limitMs` has passed. Returns the
// bytes dropped in all.
int64_t DrainUntilQuiet(const std::function<int32_t()>& discardWaiting,
                        uint32_t quietMs = kLineQuietMs, uint32_t limitMs = kLineDrainLimitMs);

}  // namespace velterra::platform
