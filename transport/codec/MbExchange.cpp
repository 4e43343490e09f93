#include "MbExchange.h"

#include <algorithm>
#include <new>
#include <span>
#include <vector>

#include "FrameCodec.h"

namespace velterra::codec {

namespace {

int32_t Exchange(UnframedChannel& channel, bool write, uint8_t commandId, uint16_t writeLength,
                 const uint8_t* writeData, uint16_t readLength, uint16_t* replyLength,
                 uint8_t* readBuffer, bool& sent) {
    // Bit 15 of a length would land on the read flag; such a request cannot be framed.
    if (writeLength > kMaxMbLength) return 0;
    if (writeLength > 0 && writeData == nullptr) return 0;

    const size_t capacity = std::max(writeLength, readLength);
    std::vector<uint8_t> work(capacity + kMbOverhead);
    const size_t size = EncodeMbFrame(write, commandId, writeLength, writeData, work);
    if (size == 0) return 0;
    // Nothing waiting can be the answer to this request; an earlier exchange left it.
    channel.DiscardInput();
    sent = true;
    if (!channel.Transfer(true, static_cast<int32_t>(size), work.data())) return 0;

    uint8_t answer = 0;
    if (!channel.Transfer(false, 1, &answer) || answer != kAck) return 0;
    if (write) return 1;

    if (!channel.Transfer(false, kMbHeaderSize, work.data())) return 0;
    uint16_t length = 0;
    if (CheckMbReplyHeader(std::span(work).first(kMbHeaderSize), commandId, &length) !=
        MbReplyCheck::kOk) {
        return 0;
    }
    // A reply longer than the work buffer, or than the caller's buffer, is refused rather
    // than written past either.
    if (length > capacity || (readBuffer != nullptr && length > readLength)) return 0;
    if (!channel.Transfer(false, length + 2, work.data() + kMbHeaderSize)) return 0;
    if (CheckMbReply(std::span(work).first(length + kMbOverhead), commandId, nullptr) !=
        MbReplyCheck::kOk) {
        return 0;
    }
    if (replyLength) *replyLength = length;
    if (readBuffer) std::copy_n(work.begin() + kMbHeaderSize, length, readBuffer);
    return 1;
}

}  // namespace

int32_t ExchangeMb(UnframedChannel& channel, bool write, uint8_t commandId, uint16_t writeLength,
                   const uint8_t* writeData, uint16_t readLength, uint16_t* replyLength,
                   uint8_t* readBuffer) {
    bool sent = false;
    int32_t result = 0;
    try {
        result = Exchange(channel, write, commandId, writeLength, writeData, readLength,
                          replyLength, readBuffer, sent);
    } catch (const std::bad_alloc&) {
        result = 0;
    }
    // A refused reply may still be arriving: clear it away before the next exchange.
    if (result == 0 && sent) channel.DrainAfterFailure();
    return result;
}

}  // namespace velterra::codec
