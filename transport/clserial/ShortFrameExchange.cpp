#include "ShortFrameExchange.h"

#include <algorithm>

#include "Clock.h"
#include "FrameCodec.h"

namespace velterra::clserial {

namespace {

constexpr uint32_t kTimeoutMs = 400;
constexpr uint32_t kBeforeAcknowledgeMs = 200;
constexpr uint32_t kAfterAcknowledgeMs = 100;

}  // namespace

int32_t ShortFrameExchange(ClSerialLine& line, bool write, uint8_t commandId, uint8_t length,
                           uint8_t* buffer) {
    // Bit 7 of the length byte marks a read: a longer frame would be misread by the camera.
    if (length > codec::kMaxShortLength) return 0;
    if (length > 0 && buffer == nullptr) return 0;

    uint8_t request[codec::kMaxShortLength + codec::kShortOverhead];
    const size_t size = codec::EncodeShortFrame(write, commandId, length, buffer, request);
    if (size == 0) return 0;
    if (!line.WriteOnce(request, static_cast<uint32_t>(size), kTimeoutMs)) return 0;

    platform::SleepMs(kBeforeAcknowledgeMs);
    uint8_t answer = 0;
    const bool acknowledged = line.ReadOnce(&answer, 1, kTimeoutMs);
    platform::SleepMs(kAfterAcknowledgeMs);
    if (!acknowledged || answer != codec::kAck) return 0;
    if (write) return 1;

    uint8_t reply[codec::kMaxShortLength + codec::kShortOverhead];
    const uint32_t expected = length + static_cast<uint32_t>(codec::kShortOverhead);
    if (!line.ReadOnce(reply, expected, kTimeoutMs)) return 0;
    std::copy_n(reply + 3, length, buffer);
    return 1;
}

}  // namespace velterra::clserial
