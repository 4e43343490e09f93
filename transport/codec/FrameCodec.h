// Camera frame codec shared by both transports and by anything that stands in for a camera.
//
// Short frame (kernel 0):  STX, command id, length byte (bits 0-6 = n, bit 7 = read), n data bytes
//                          (writes only), XOR checksum of everything after STX, ETX.
// MB frame (kernel 1):     STX, command id, bit 7 = read | bits 8-14 of n, bits 0-7 of n, n data
//                          bytes, XOR checksum of bytes 1 .. 3+n, ETX.
// An MB reply has the MB layout with bit 7 of byte 2 clear; it states its own length m.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velterra::codec {

inline constexpr uint8_t kStx = 0x02;
inline constexpr uint8_t kEtx = 0x03;
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kNak = 0x15;

inline constexpr uint8_t kReadFlag = 0x80;
// Bit 7 of the length field marks a read, so these are the largest data lengths a frame can carry.
inline constexpr size_t kMaxShortLength = 127;
inline constexpr size_t kMaxMbLength = 32767;

inline constexpr size_t kShortOverhead = 5;  // STX, id, length, checksum, ETX
inline constexpr size_t kMbOverhead = 6;     // STX, id, length high, length low, checksum, ETX
inline constexpr size_t kMbHeaderSize = 4;
inline constexpr size_t kMaxShortFrameSize = kMaxShortLength + kShortOverhead;

// XOR of the given bytes.
uint8_t Checksum(std::span<const uint8_t> bytes);

// Bytes a short request occupies on the wire: n+5 for a write, 5 for a read.
size_t ShortRequestSize(bool write, size_t length);

// Encodes a short-frame request into `out` and returns its size, or 0 when `length` exceeds
// kMaxShortLength or `out` is too small. A read carries no data: `length` is the count asked
// for and `data` is ignored. A write takes `length` bytes from `data`.
size_t EncodeShortFrame(bool write, uint8_t commandId, size_t length, const uint8_t* data,
                        std::span<uint8_t> out);
std::vector<uint8_t> EncodeShortFrame(bool write, uint8_t commandId, std::span<const uint8_t> data);
std::vector<uint8_t> EncodeShortReadRequest(uint8_t commandId, uint8_t length);

// The request of one short exchange, in a buffer that fits the longest.
struct ShortRequest {
    std::array<uint8_t, kMaxShortFrameSize> bytes{};
    size_t size = 0;  // 0: the exchange cannot be framed
};

// Frames a short exchange whose data (a write) or reply (a read) is `buffer`. Size 0 when
// `length` exceeds kMaxShortLength (bit 7 of the length byte marks a read, so the camera would
// misread it) or `buffer` is missing for a nonzero length.
ShortRequest FrameShortExchange(bool write, uint8_t commandId, uint8_t length,
                                const uint8_t* buffer);

// Encodes an MB request of `length` data bytes (a write's payload or a read's parameters) into
// `out` (length+6 bytes) and returns its size, or 0 when `length` exceeds kMaxMbLength or `out`
// is too small.
size_t EncodeMbFrame(bool write, uint8_t commandId, size_t length, const uint8_t* data,
                     std::span<uint8_t> out);
std::vector<uint8_t> EncodeMbFrame(bool write, uint8_t commandId, std::span<const uint8_t> data);

// Replies as a camera sends them. A short reply is n+5 bytes with the data at offset 3
// (the receiver checks none of its framing bytes); an MB reply carries its length.
std::vector<uint8_t> EncodeShortReply(uint8_t commandId, std::span<const uint8_t> data);
std::vector<uint8_t> EncodeMbReply(uint8_t commandId, std::span<const uint8_t> data);

enum class MbReplyCheck {
    kOk,
    kBadStx,        // byte 0 is not STX
    kBadCommandId,  // byte 1 does not echo the request's command id
    kReadFlagSet,   // bit 7 of byte 2 is set
    kBadEtx,        // byte 5+m is not ETX
    kBadChecksum,   // byte 4+m is not the XOR of bytes 1 .. 3+m
    kTruncated,     // fewer bytes than the header or the stated length need
};

// Checks the 4 header bytes of an MB reply; on kOk stores the stated data length m.
MbReplyCheck CheckMbReplyHeader(std::span<const uint8_t> header, uint8_t commandId,
                                uint16_t* dataLength);

// Checks a whole MB reply (header, data, checksum, ETX); `reply` must hold at least m+6 bytes.
// On kOk stores m.
MbReplyCheck CheckMbReply(std::span<const uint8_t> reply, uint8_t commandId, uint16_t* dataLength);

}  // namespace velterra::codec
