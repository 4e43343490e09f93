#include "LineDrain.h"

#include <algorithm>

#include "Clock.h"

namespace velterra::platform {

namespace {
constexpr uint32_t kLookMs = 10;
}

int64_t DrainUntilQuiet(const std::function<int32_t()>& discardWaiting, uint32_t quietMs,
                        uint32_t limitMs) {
    const uint32_t start = TickCount();
    uint32_t lastByte = start;
    int64_t dropped = 0;
    for (;;) {
        const int32_t now = discardWaiting();
        if (now > 0) {
            dropped += now;
            lastByte = TickCount();
        }
        if (TicksSince(lastByte) >= quietMs || TicksSince(start) >= limitMs) return dropped;
        SleepMs(std::min(kLookMs, quietMs));
    }
}

}  // namespace velterra::platform
