#include "Clock.h"
#include "Exchanges.h"
#include "PollIntervals.h"

namespace velterra::rs232 {

namespace {
constexpr uint32_t kTransferLimitMs = 60000;
}

int32_t DirectTransfer(RsPort& port, bool write, int32_t count, uint8_t* buffer) {
    if (count <= 0) return 1;
    if (buffer == nullptr) return 0;
    const uint32_t start = platform::TickCount();
    int32_t done = 0;
    while (done < count) {
        if (write) {
            while (port.BytesPendingOutput() > 0) {
                if (platform::TicksSince(start) > kTransferLimitMs) return 0;
                platform::SleepMs(OutputDrainPollMs());
            }
            const int32_t sent = port.Write(buffer + done, count - done);
            if (sent == 0) return 0;
            done += sent;
        } else {
            while (port.BytesWaiting() == 0) {
                if (platform::TicksSince(start) > kTransferLimitMs) return 0;
                platform::SleepMs(ReplyPollMs());
            }
            const int32_t got = port.Read(buffer + done, count - done);
            if (got == 0) return 0;
            done += got;
        }
    }
    return 1;
}

}  // namespace velterra::rs232
