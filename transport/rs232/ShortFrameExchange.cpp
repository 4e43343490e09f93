#include <algorithm>

#include "Clock.h"
#include "Exchanges.h"
#include "FrameCodec.h"
#include "PollIntervals.h"

namespace velterra::rs232 {

namespace {

constexpr uint32_t kSettleMs = 100;  // before the acknowledge wait and after reading it
constexpr uint32_t kWaitLimitMs = 3000;

// Polls until a byte is waiting; false when more than the limit passed without one.
bool WaitForInput(const RsPort& port, uint32_t pollMs) {
    const uint32_t start = platform::TickCount();
    while (port.BytesWaiting() == 0) {
        if (platform::TicksSince(start) > kWaitLimitMs) return false;
        platform::SleepMs(pollMs);
    }
    return true;
}

}  // namespace

int32_t ShortFrameExchange(RsPort& port, bool write, uint8_t commandId, uint8_t length,
                           uint8_t* buffer) {
    // Bit 7 of the length byte marks a read: a longer frame cannot be told apart, so it is
    // refused rather than sent as something the camera would misread.
    if (length > codec::kMaxShortLength) return 0;
    if (length > 0 && buffer == nullptr) return 0;

    uint8_t request[codec::kMaxShortLength + codec::kShortOverhead];
    const size_t size = codec::EncodeShortFrame(write, commandId, length, buffer, request);
    if (size == 0) return 0;
    if (port.Write(request, static_cast<int32_t>(size)) < static_cast<int32_t>(size)) return 0;
    platform::SleepMs(kSettleMs);

    WaitForInput(port, AcknowledgePollMs(commandId));
    uint8_t answer = 0;
    const int32_t got = port.Read(&answer, 1);
    platform::SleepMs(kSettleMs);
    if (got == 0 || answer != codec::kAck) return 0;
    if (write) return 1;

    if (!WaitForInput(port, ReplyPollMs())) return 0;
    const int32_t expected = length + static_cast<int32_t>(codec::kShortOverhead);
    uint8_t reply[codec::kMaxShortLength + codec::kShortOverhead];
    int32_t received = port.Read(reply, expected);
    // A reply still on its way is waited for (within the limit, counted from its first byte)
    // instead of being taken in part: a part would mix stale buffer bytes into the result and
    // leave the rest of the reply to spoil the next exchange.
    const uint32_t firstByte = platform::TickCount();
    while (received < expected && platform::TicksSince(firstByte) <= kWaitLimitMs) {
        platform::SleepMs(ReplyPollMs());
        received += port.Read(reply + received, expected - received);
    }
    if (received < expected) return 0;
    std::copy_n(reply + 3, length, buffer);
    return 1;
}

}  // namespace velterra::rs232
