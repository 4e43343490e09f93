#include "ClSerialLine.h"

#include "Clock.h"

namespace velterra::clserial {

namespace {

constexpr uint32_t kTransferTimeoutMs = 60000;
constexpr uint32_t kWritePieceLimit = 2040;
constexpr uint32_t kPauseAfterCallMs = 10;

}  // namespace

int64_t ClSerialLine::Call(bool write, uint8_t* data, uint32_t count, uint32_t timeoutMs) {
    uint32_t moved = count;
    int8_t* bytes = reinterpret_cast<int8_t*>(data);
    const int32_t result = write ? library_.serialWrite(serialRef_, bytes, &moved, timeoutMs)
                                 : library_.serialRead(serialRef_, bytes, &moved, timeoutMs);
    // A library that claims more than it was given cannot be trusted with the buffer.
    if (result != CL_ERR_NO_ERR || moved > count) return -1;
    return moved;
}

bool ClSerialLine::WriteOnce(const uint8_t* data, uint32_t count, uint32_t timeoutMs) {
    // The interface takes a mutable buffer, though a write only reads it.
    return Call(true, const_cast<uint8_t*>(data), count, timeoutMs) == count;
}

bool ClSerialLine::ReadOnce(uint8_t* data, uint32_t count, uint32_t timeoutMs) {
    return Call(false, data, count, timeoutMs) == count;
}

bool ClSerialLine::Transfer(bool write, int32_t count, uint8_t* buffer) {
    if (count <= 0 || buffer == nullptr) return false;
    const uint32_t total = static_cast<uint32_t>(count);
    uint32_t done = 0;
    while (done < total) {
        uint32_t piece = total - done;
        if (write && piece > kWritePieceLimit) piece = kWritePieceLimit;
        const int64_t moved = Call(write, buffer + done, piece, kTransferTimeoutMs);
        platform::SleepMs(kPauseAfterCallMs);
        // A call that succeeds without moving anything would repeat for ever.
        if (moved <= 0) return false;
        done += static_cast<uint32_t>(moved);
    }
    return true;
}

}  // namespace velterra::clserial
