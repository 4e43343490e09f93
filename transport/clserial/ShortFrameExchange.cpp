#include "ShortFrameExchange.h"

#include <algorithm>

#include "Clock.h"
#include "FrameCodec.h"

namespace velterra::clserial {

namespace {

constexpr uint32_t kTimeoutMs = 400;
constexpr uint32_t kBeforeAcknowledgeMs = 200;
constexpr uint32_t kAfterAcknowledgeMs = 100;

int32_t Exchange(ClSerialLine& line, bool write, uint8_t length, uint8_t* buffer,
                 const codec::ShortRequest& request) {
    if (!line.WriteOnce(request.bytes.data(), static_cast<uint32_t>(request.size), kTimeoutMs)) {
        return 0;
    }

    platform::SleepMs(kBeforeAcknowledgeMs);
    uint8_t answer = 0;
    const bool acknowledged = line.ReadOnce(&answer, 1, kTimeoutMs);
    platform::SleepMs(kAfterAcknowledgeMs);
    if (!acknowledged || answer != codec::kAck) return 0;
    if (write) return 1;

    uint8_t reply[codec::kMaxShortFrameSize];
    const uint32_t expected = length + static_cast<uint32_t>(codec::kShortOverhead);
    if (!line.ReadOnce(reply, expected, kTimeoutMs)) return 0;
    std::copy_n(reply + 3, length, buffer);
    return 1;
}

}  // namespace

int32_t ShortFrameExchange(ClSerialLine& line, bool write, uint8_t commandId, uint8_t length,
                           uint8_t* buffer) {
    const codec::ShortRequest request = codec::FrameShortExchange(write, commandId, length, buffer);
    if (request.size == 0) return 0;
    // Whatever is waiting belongs to no request of ours; the answer to this one starts after it.
    line.DiscardInput();
    if (Exchange(line, write, length, buffer, request)) return 1;
    line.DrainAfterFailure();
    return 0;
}

}  // namespace velterra::clserial
