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

int32_t Exchange(RsPort& port, bool write, uint8_t commandId, uint8_t length, uint8_t* buffer,
                 const codec::ShortRequest& request) {
    const auto size = static_cast<int32_t>(request.size);
    if (port.Write(request.bytes.data(), size) < size) return 0;
    platform::SleepMs(kSettleMs);

    WaitForInput(port, AcknowledgePollMs(commandId));
    uint8_t answer = 0;
    const int32_t got = port.Read(&answer, 1);
    platform::SleepMs(kSettleMs);
    if (got == 0 || answer != codec::kAck) return 0;
    if (write) return 1;

    if (!WaitForInput(port, ReplyPollMs())) return 0;
    const int32_t expected = length + static_cast<int32_t>(codec::kShortOverhead);
    uint8_t reply[codec::kMaxShortFrameSize];
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

}  // namespace

int32_t ShortFrameExchange(RsPort& port, bool write, uint8_t commandId, uint8_t length,
                           uint8_t* buffer) {
    const codec::ShortRequest request = codec::FrameShortExchange(write, commandId, length, buffer);
    if (request.size == 0) return 0;
    // Whatever is waiting belongs to no request of ours; the answer to this one starts after it.
    port.DiscardInput();
    if (Exchange(port, write, commandId, length, buffer, request)) return 1;
    port.DrainAfterFailure();
    return 0;
}

}  // namespace velterra::rs232
