#include "ClSerialLine.h"

#include "Clock.h"
#include "LineDrain.h"

namespace velterra::clserial {

namespace {

constexpr uint32_t kTransferTimeoutMs = 60000;
constexpr uint32_t kWritePieceLimit = 2040;
constexpr uint32_t kPauseAfterCallMs = 10;
constexpr uint32_t kDiscardPiece = 256;
// Bounds one discard on a library that keeps reporting bytes.
constexpr int kDiscardCalls = 64;

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

int32_t ClSerialLine::Discard() {
    uint8_t scratch[kDiscardPiece];
    int32_t dropped = 0;
    for (int call = 0; call < kDiscardCalls; ++call) {
        uint32_t moved = kDiscardPiece;
        // A read that times out still reports what it took; only that count matters here. A
        // failure that leaves the count as it was (or claims more) took nothing usable.
        const int32_t result =
            library_.serialRead(serialRef_, reinterpret_cast<int8_t*>(scratch), &moved, 0);
        if (result != CL_ERR_NO_ERR && moved >= kDiscardPiece) moved = 0;
        if (moved == 0 || moved > kDiscardPiece) break;
        dropped += static_cast<int32_t>(moved);
    }
    return dropped;
}

void ClSerialLine::DrainAfterFailure() {
    platform::DrainUntilQuiet([this] { return Discard(); });
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
