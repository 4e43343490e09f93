#include "CameraResponder.h"

#include "FrameCodec.h"
#include "TextFormat.h"
#include "core/CommandNames.h"

namespace velterra::sim {

namespace codec = velterra::codec;
namespace legacy = velterra::codec::legacy;

namespace {

// A legacy half-block write: table, tap, block, half, then the values.
constexpr std::size_t kLegacyChunkBytes = 4 + 2 * legacy::kHalfBlockLength;

constexpr uint8_t kReady = 0x40;  // kernel-0 table handshake: the camera is ready
constexpr uint8_t kEntriesMode = 0;
constexpr uint8_t kNodesMode = 1;
constexpr int kMaxNodes = 10;
constexpr std::size_t kNodeBytes = 4;
// The most entries one MB reply can carry.
constexpr int kMaxReplyEntries = static_cast<int>(codec::kMaxMbLength / 2);

uint16_t GetLe16(std::span<const uint8_t> bytes, std::size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::vector<uint8_t> EntryBytes(const std::vector<uint16_t>& entries) {
    std::vector<uint8_t> out;
    out.reserve(entries.size() * 2);
    for (uint16_t value : entries) {
        out.push_back(static_cast<uint8_t>(value & 0xFF));
        out.push_back(static_cast<uint8_t>(value >> 8));
    }
    return out;
}

std::vector<uint16_t> BytesEntries(std::span<const uint8_t> bytes) {
    std::vector<uint16_t> out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) out.push_back(GetLe16(bytes, i));
    return out;
}

bool ValidLegacyPlace(int tap, int block, int half) {
    return tap >= 1 && tap <= legacy::kTaps && block >= 0 && block < legacy::kBlocksPerTap &&
           half >= 0 && half <= 1;
}

}  // namespace

CameraResponder::CameraResponder(const CameraConfig& config) : config_(config) {
    parameters_.Reset(config.Parameters());
    tables_.Reset(config.Bits(), config.ActiveLength());
    aliveId_ = config.CommandId(CommandName::kGetLEDState);
    lutId_ = config.CommandId(CommandName::kLutRW);
    waitId_ = config.CommandId(CommandName::kWaitCmd);
    badPixelsId_ = config.CommandId(CommandName::kBadPixelsPos);
    fpnPrnuWriteId_ = config.CommandId(CommandName::kFPNPRNUWrite);
    fpnPrnuReadId_ = config.CommandId(CommandName::kFPNPRNURead);
    onePixelId_ = config.CommandId(CommandName::kOnePixelWrite);
    frnCoefId_ = config.CommandId(CommandName::kFrnCoef);
    prnuCoefId_ = config.CommandId(CommandName::kPrnuCoef);
}

Reply CameraResponder::Ack(const std::string& what) const {
    Reply reply;
    reply.bytes = {codec::kAck};
    reply.outcome = what.empty() ? "ACK" : "ACK (" + what + ")";
    return reply;
}

Reply CameraResponder::Nak(const std::string& why) const {
    Reply reply;
    reply.bytes = {codec::kNak};
    reply.outcome = "NAK (" + why + ")";
    return reply;
}

Reply CameraResponder::Data(const Frame& frame, std::vector<uint8_t> data,
                            const std::string& what) const {
    Reply reply;
    reply.bytes = {codec::kAck};
    std::vector<uint8_t> answer;
    if (frame.format == FrameFormat::kShort) {
        // A short reply carries exactly the bytes asked for.
        data.resize(frame.length, 0);
        answer = codec::EncodeShortReply(frame.commandId, data);
    } else {
        if (data.size() > codec::kMaxMbLength) data.resize(codec::kMaxMbLength);
        answer = codec::EncodeMbReply(frame.commandId, data);
    }
    reply.bytes.insert(reply.bytes.end(), answer.begin(), answer.end());
    reply.outcome = FormatText("ACK + %zu data bytes (%s)", data.size(), what.c_str());
    return reply;
}

Reply CameraResponder::Respond(const Frame& frame) {
    if (auto reply = ModelText(frame)) return *reply;
    if (frame.write && aliveId_ == frame.commandId) return Ack("alive");
    if (parameters_.Has(frame.commandId)) return Parameter(frame);
    if (auto reply = Legacy(frame)) return *reply;
    if (lutId_ == frame.commandId) {
        if (auto reply = Table(frame, TableFamily::kLut)) return *reply;
    }
    if (fpnPrnuWriteId_ == frame.commandId || fpnPrnuReadId_ == frame.commandId) {
        if (auto reply = Table(frame, TableFamily::kCorrection)) return *reply;
    }
    if (!frame.write && waitId_ == frame.commandId) return Data(frame, {status_}, "status");
    if (badPixelsId_ == frame.commandId) {
        if (!frame.write) return Data(frame, tables_.BadPixels(), "bad pixels");
        tables_.SetBadPixels(frame.data);
        return Ack("bad pixels stored");
    }
    if (onePixelId_ == frame.commandId) {
        if (auto reply = OnePixel(frame)) return *reply;
    }
    if (auto reply = Named(frame)) return *reply;
    return Nak("unknown command");
}

std::optional<Reply> CameraResponder::ModelText(const Frame& frame) const {
    if (frame.write || frame.commandId != config_.ModelCommandId()) return std::nullopt;
    std::vector<uint8_t> text(config_.ModelText().begin(), config_.ModelText().end());
    text.resize(config_.ModelTextLength(), 0);
    return Data(frame, std::move(text), "model text");
}

Reply CameraResponder::Parameter(const Frame& frame) {
    if (!frame.write) return Data(frame, *parameters_.Value(frame.commandId), "value");
    const WriteRefusal refusal = parameters_.Write(frame.commandId, frame.data);
    if (refusal != WriteRefusal::kNone) return Nak(RefusalText(refusal));
    return Ack(RefusalText(refusal));
}

std::optional<Reply> CameraResponder::Legacy(const Frame& frame) {
    const std::span<const uint8_t> data = frame.data;
    const bool plainRead = !frame.write && data.empty();
    switch (frame.commandId) {
        case legacy::kSelectHalfBlock: {
            if (!frame.write || data.size() != 4) return std::nullopt;
            if (!ValidLegacyPlace(data[1], data[2], data[3])) return Nak("no such tap position");
            legacyTable_ = data[0];
            legacyTap_ = data[1];
            legacyBlock_ = data[2];
            legacyHalf_ = data[3];
            return Ack("read position");
        }
        case legacy::kWriteHalfBlock: {
            if (!frame.write || data.size() != kLegacyChunkBytes) return std::nullopt;
            if (data[0] > kPrnuKind || !ValidLegacyPlace(data[1], data[2], data[3])) {
                return Nak("no such table position");
            }
            const int first = data[2] * legacy::kBlockLength + data[3] * legacy::kHalfBlockLength;
            for (int k = 0; k < legacy::kHalfBlockLength; ++k) {
                const int pixel = *legacy::PixelIndexOf(data[1], first + k);
                const uint16_t value = GetLe16(data, 4 + 2 * static_cast<std::size_t>(k));
                tables_.Write(TableFamily::kCorrection, data[0], pixel, std::span(&value, 1));
            }
            return Ack("table chunk stored");
        }
        case legacy::kReadHalfBlock:
        case legacy::kReadImageHalfBlock: {
            if (!plainRead) return std::nullopt;
            const uint8_t table =
                frame.commandId == legacy::kReadImageHalfBlock ? kImageKind : legacyTable_;
            const int first =
                legacyBlock_ * legacy::kBlockLength + legacyHalf_ * legacy::kHalfBlockLength;
            std::vector<uint16_t> values;
            for (int k = 0; k < legacy::kHalfBlockLength; ++k) {
                values.push_back(tables_.Entry(TableFamily::kCorrection, table,
                                               *legacy::PixelIndexOf(legacyTap_, first + k)));
            }
            return Data(
                frame, EntryBytes(values),
                frame.commandId == legacy::kReadImageHalfBlock ? "image chunk" : "table chunk");
        }
        case legacy::kWriteOnePixel: {
            if (!frame.write || data.size() != 6) return std::nullopt;
            if (data[0] > kPrnuKind || data[3] >= legacy::kBlockLength ||
                !ValidLegacyPlace(data[1], data[2], 0)) {
                return Nak("no such pixel");
            }
            const int pixel =
                *legacy::PixelIndexOf(data[1], data[2] * legacy::kBlockLength + data[3]);
            const uint16_t value = GetLe16(data, 4);
            tables_.Write(TableFamily::kCorrection, data[0], pixel, std::span(&value, 1));
            onePixelKind_ = data[0];
            onePixelNumber_ = static_cast<uint16_t>(pixel + 1);
            onePixelIndex_ = pixel;
            return Ack(FormatText("pixel %d set", pixel + 1));
        }
        default:
            return std::nullopt;
    }
}

std::optional<Reply> CameraResponder::Table(const Frame& frame, TableFamily family) {
    if (frame.format == FrameFormat::kShort) {
        if (frame.write && frame.data.size() == 4) return TableHeader(frame, family);
        return Nak("not a table frame");
    }
    return TableChunk(frame, family);
}

Reply CameraResponder::TableHeader(const Frame& frame, TableFamily family) {
    const std::span<const uint8_t> data = frame.data;
    const uint8_t direction = data[0];
    const uint8_t id = data[1];
    const int count = static_cast<int16_t>(GetLe16(data, 2));
    if (direction > 1) return Nak("bad direction");
    if (count < 1) return Nak("bad count");
    const bool hostWrites = direction == 1;
    if (family == TableFamily::kCorrection && id > (hostWrites ? kPrnuKind : kImageKind)) {
        return Nak("no such table");
    }
    Reply reply;
    reply.bytes = {codec::kAck, kReady};
    reply.outcome = FormatText("ACK + ready (table %u, %d entries %s)", unsigned{id}, count,
                               hostWrites ? "to the camera" : "from the camera");
    reply.then = Reply::Then::kRaw;
    reply.raw = RawTransfer{hostWrites, family, id, count};
    return reply;
}

Reply CameraResponder::TableChunk(const Frame& frame, TableFamily family) {
    const std::span<const uint8_t> data = frame.data;
    if (data.size() < 2) return Nak("not a table frame");
    const uint8_t id = data[0];
    const uint8_t mode = data[1];
    const uint8_t lastKind = frame.write ? kPrnuKind : kImageKind;
    if (family == TableFamily::kCorrection && (mode != kEntriesMode || id > lastKind)) {
        return Nak("no such table");
    }
    if (mode == kEntriesMode) {
        if (data.size() < 6) return Nak("not a table frame");
        const int offset = GetLe16(data, 2);
        const int count = GetLe16(data, 4);
        if (!frame.write) {
            if (data.size() != 6 || count > kMaxReplyEntries) return Nak("bad chunk");
            return Data(frame, EntryBytes(tables_.Read(family, id, offset, count)),
                        FormatText("table %u from %d", unsigned{id}, offset));
        }
        if (data.size() != 6 + 2 * static_cast<std::size_t>(count)) {
            status_ = 1;
            return Nak("wrong length");
        }
        tables_.Write(family, id, offset, BytesEntries(data.subspan(6)));
        status_ = 0;
        return Ack(FormatText("table %u: %d entries at %d", unsigned{id}, count, offset));
    }
    if (mode == kNodesMode) {
        if (!frame.write) {
            if (data.size() != 2) return Nak("bad node read");
            return Data(frame, tables_.Nodes(id), FormatText("nodes of table %u", unsigned{id}));
        }
        if (data.size() < 4) return Nak("not a table frame");
        const int count = GetLe16(data, 2);
        if (count > kMaxNodes) {
            status_ = 1;
            return Nak("more than 10 nodes");
        }
        if (data.size() != 4 + kNodeBytes * static_cast<std::size_t>(count)) {
            status_ = 1;
            return Nak("wrong length");
        }
        tables_.SetNodes(id, data.subspan(4));
        status_ = 0;
        return Ack(FormatText("%d nodes of table %u", count, unsigned{id}));
    }
    return Nak("unknown table mode");
}

std::optional<Reply> CameraResponder::OnePixel(const Frame& frame) {
    const std::span<const uint8_t> data = frame.data;
    if (frame.write) {
        if (data.size() != 5) return std::nullopt;
        if (data[0] > kPrnuKind) return Nak("no such table");
        const uint16_t pixel = GetLe16(data, 1);
        const uint16_t value = GetLe16(data, 3);
        tables_.Write(TableFamily::kCorrection, data[0], pixel, std::span(&value, 1));
        onePixelKind_ = data[0];
        onePixelNumber_ = pixel;
        onePixelIndex_ = pixel;
        return Ack(FormatText("pixel %u set", unsigned{pixel}));
    }
    // The read request cannot say which pixel: the answer is for the last one written.
    const uint16_t value = tables_.Entry(TableFamily::kCorrection, onePixelKind_, onePixelIndex_);
    return Data(frame,
                {onePixelKind_, static_cast<uint8_t>(onePixelNumber_ & 0xFF),
                 static_cast<uint8_t>(onePixelNumber_ >> 8), static_cast<uint8_t>(value & 0xFF),
                 static_cast<uint8_t>(value >> 8)},
                "pixel value");
}

std::optional<Reply> CameraResponder::Named(const Frame& frame) {
    const NamedCommand* command = config_.FindCommand(frame.commandId);
    if (!command) return std::nullopt;
    if (!frame.write) {
        // A named read has no stored data of its own: zeros of the length asked for.
        const std::size_t size =
            frame.format == FrameFormat::kShort ? frame.length : (command->bytes & 0x7F);
        return Data(frame, std::vector<uint8_t>(size, 0), command->name);
    }
    if (frnCoefId_ == frame.commandId || prnuCoefId_ == frame.commandId) {
        Reply reply = Ack(command->name + ", busy");
        reply.then = Reply::Then::kBusy;
        return reply;
    }
    return Ack(command->name);
}

std::vector<uint8_t> CameraResponder::RawBlock(const RawTransfer& transfer) const {
    return EntryBytes(tables_.Read(transfer.family, transfer.tableId, 0, transfer.count));
}

void CameraResponder::StoreRawBlock(const RawTransfer& transfer, std::span<const uint8_t> bytes) {
    tables_.Write(transfer.family, transfer.tableId, 0, BytesEntries(bytes));
}

}  // namespace velterra::sim
