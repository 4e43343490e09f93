#include <algorithm>
#include <span>
#include <vector>

#include "Exchanges.h"
#include "FrameCodec.h"

namespace velterra::rs232 {

int32_t MbExchange(RsPort& port, bool write, uint8_t commandId, uint16_t writeLength,
                   const uint8_t* writeData, uint16_t readLength, uint16_t* replyLength,
                   uint8_t* readBuffer) {
    // Bit 15 of a length would land on the read flag; such a request cannot be framed.
    if (writeLength > codec::kMaxMbLength) return 0;
    if (writeLength > 0 && writeData == nullptr) return 0;

    const size_t capacity = std::max(writeLength, readLength);
    std::vector<uint8_t> work(capacity + codec::kMbOverhead);
    const size_t size = codec::EncodeMbFrame(write, commandId, writeLength, writeData, work);
    if (size == 0) return 0;
    if (!DirectTransfer(port, true, static_cast<int32_t>(size), work.data())) return 0;

    uint8_t answer = 0;
    if (!DirectTransfer(port, false, 1, &answer) || answer != codec::kAck) return 0;
    if (write) return 1;

    if (!DirectTransfer(port, false, codec::kMbHeaderSize, work.data())) return 0;
    uint16_t length = 0;
    if (codec::CheckMbReplyHeader(std::span(work).first(codec::kMbHeaderSize), commandId,
                                  &length) != codec::MbReplyCheck::kOk) {
        return 0;
    }
    // A reply longer than the work buffer, or than the caller's buffer, is refused rather
    // than written past either.
    if (length > capacity || (readBuffer != nullptr && length > readLength)) return 0;
    if (!DirectTransfer(port, false, length + 2, work.data() + codec::kMbHeaderSize)) return 0;
    if (codec::CheckMbReply(std::span(work).first(length + codec::kMbOverhead), commandId,
                            nullptr) != codec::MbReplyCheck::kOk) {
        return 0;
    }
    if (replyLength) *replyLength = length;
    if (readBuffer) std::copy_n(work.begin() + codec::kMbHeaderSize, length, readBuffer);
    return 1;
}

}  // namespace velterra::rs232
