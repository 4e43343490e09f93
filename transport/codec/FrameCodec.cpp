#include "FrameCodec.h"

#include <algorithm>

namespace velterra::codec {

uint8_t Checksum(std::span<const uint8_t> bytes) {
    uint8_t sum = 0;
    for (uint8_t b : bytes) sum ^= b;
    return sum;
}

size_t ShortRequestSize(bool write, size_t length) {
    return write ? length + kShortOverhead : kShortOverhead;
}

size_t EncodeShortFrame(bool write, uint8_t commandId, size_t length, const uint8_t* data,
                        std::span<uint8_t> out) {
    if (length > kMaxShortLength) return 0;
    const size_t size = ShortRequestSize(write, length);
    if (out.size() < size || (write && length > 0 && data == nullptr)) return 0;
    out[0] = kStx;
    out[1] = commandId;
    out[2] = static_cast<uint8_t>(length | (write ? 0 : kReadFlag));
    size_t pos = 3;
    if (write) {
        std::copy_n(data, length, out.begin() + 3);
        pos += length;
    }
    out[pos] = Checksum(out.subspan(1, pos - 1));
    out[pos + 1] = kEtx;
    return size;
}

std::vector<uint8_t> EncodeShortFrame(bool write, uint8_t commandId,
                                      std::span<const uint8_t> data) {
    std::vector<uint8_t> frame(ShortRequestSize(write, data.size()));
    frame.resize(EncodeShortFrame(write, commandId, data.size(), data.data(), frame));
    return frame;
}

std::vector<uint8_t> EncodeShortReadRequest(uint8_t commandId, uint8_t length) {
    std::vector<uint8_t> frame(kShortOverhead);
    frame.resize(EncodeShortFrame(false, commandId, length, nullptr, frame));
    return frame;
}

ShortRequest FrameShortExchange(bool write, uint8_t commandId, uint8_t length,
                                const uint8_t* buffer) {
    ShortRequest request;
    if (length > 0 && buffer == nullptr) return request;
    request.size = EncodeShortFrame(write, commandId, length, buffer, request.bytes);
    return request;
}

size_t EncodeMbFrame(bool write, uint8_t commandId, size_t length, const uint8_t* data,
                     std::span<uint8_t> out) {
    if (length > kMaxMbLength) return 0;
    const size_t size = length + kMbOverhead;
    if (out.size() < size || (length > 0 && data == nullptr)) return 0;
    out[0] = kStx;
    out[1] = commandId;
    out[2] = static_cast<uint8_t>(((length >> 8) & 0x7F) | (write ? 0 : kReadFlag));
    out[3] = static_cast<uint8_t>(length & 0xFF);
    std::copy_n(data, length, out.begin() + 4);
    out[4 + length] = Checksum(out.subspan(1, 3 + length));
    out[5 + length] = kEtx;
    return size;
}

std::vector<uint8_t> EncodeMbFrame(bool write, uint8_t commandId, std::span<const uint8_t> data) {
    std::vector<uint8_t> frame(data.size() + kMbOverhead);
    frame.resize(EncodeMbFrame(write, commandId, data.size(), data.data(), frame));
    return frame;
}

std::vector<uint8_t> EncodeShortReply(uint8_t commandId, std::span<const uint8_t> data) {
    if (data.size() > 0xFF) return {};
    // Laid out like a write frame; the length byte holds the full count since nothing reads it.
    std::vector<uint8_t> reply(data.size() + kShortOverhead);
    reply[0] = kStx;
    reply[1] = commandId;
    reply[2] = static_cast<uint8_t>(data.size());
    std::copy(data.begin(), data.end(), reply.begin() + 3);
    reply[3 + data.size()] = Checksum(std::span(reply).subspan(1, 2 + data.size()));
    reply[4 + data.size()] = kEtx;
    return reply;
}

std::vector<uint8_t> EncodeMbReply(uint8_t commandId, std::span<const uint8_t> data) {
    return EncodeMbFrame(true, commandId, data);
}

MbReplyCheck CheckMbReplyHeader(std::span<const uint8_t> header, uint8_t commandId,
                                uint16_t* dataLength) {
    if (header.size() < kMbHeaderSize) return MbReplyCheck::kTruncated;
    if (header[0] != kStx) return MbReplyCheck::kBadStx;
    if (header[1] != commandId) return MbReplyCheck::kBadCommandId;
    if (header[2] & kReadFlag) return MbReplyCheck::kReadFlagSet;
    if (dataLength) *dataLength = static_cast<uint16_t>((header[2] << 8) | header[3]);
    return MbReplyCheck::kOk;
}

MbReplyCheck CheckMbReply(std::span<const uint8_t> reply, uint8_t commandId, uint16_t* dataLength) {
    uint16_t m = 0;
    const MbReplyCheck header = CheckMbReplyHeader(reply, commandId, &m);
    if (header != MbReplyCheck::kOk) return header;
    if (reply.size() < size_t{m} + kMbOverhead) return MbReplyCheck::kTruncated;
    if (reply[5 + m] != kEtx) return MbReplyCheck::kBadEtx;
    if (reply[4 + m] != Checksum(reply.subspan(1, 3 + m))) return MbReplyCheck::kBadChecksum;
    if (dataLength) *dataLength = m;
    return MbReplyCheck::kOk;
}

}  // namespace velterra::codec
