#include "FrameReader.h"

#include "FrameCodec.h"

namespace velterra::sim {

namespace codec = velterra::codec;

FrameReader::FrameReader(int kernel, std::chrono::milliseconds frameTimeout)
    : kernel_(kernel), frameTimeout_(frameTimeout) {}

void FrameReader::AcceptShortRead(uint8_t commandId, uint8_t length) {
    shortRead_ = std::make_pair(commandId, length);
}

void FrameReader::Feed(std::span<const uint8_t> bytes, Clock::time_point now) {
    if (bytes.empty()) return;
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    lastByte_ = now;
}

std::optional<Clock::time_point> FrameReader::Deadline() const {
    if (buffer_.empty()) return std::nullopt;
    return lastByte_ + frameTimeout_;
}

std::vector<uint8_t> FrameReader::Take(std::size_t count) {
    count = std::min(count, buffer_.size());
    std::vector<uint8_t> out(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(count));
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(count));
    return out;
}

std::size_t FrameReader::DeclaredSize(bool& shortFrame) const {
    if (kernel_ == 0) {
        shortFrame = true;
        if (buffer_.size() < 3) return 0;
        const uint8_t lengthByte = buffer_[2];
        return (lengthByte & codec::kReadFlag) ? codec::kShortOverhead
                                               : lengthByte + codec::kShortOverhead;
    }
    // The one short read a kernel-1 camera answers: it must match in full, so that an MB
    // frame that merely starts alike is not taken for it.
    if (shortRead_) {
        const uint8_t id = shortRead_->first;
        const uint8_t lengthByte = codec::kReadFlag | (shortRead_->second & 0x7F);
        const uint8_t expected[5] = {codec::kStx, id, lengthByte,
                                     static_cast<uint8_t>(id ^ lengthByte), codec::kEtx};
        std::size_t same = 0;
        while (same < buffer_.size() && same < 5 && buffer_[same] == expected[same]) ++same;
        if (same == 5) {
            shortFrame = true;
            return 5;
        }
        if (same == buffer_.size()) return 0;  // could still be it
    }
    shortFrame = false;
    if (buffer_.size() < codec::kMbHeaderSize) return 0;
    const std::size_t length = (std::size_t{buffer_[2] & 0x7Fu} << 8) | buffer_[3];
    return length + codec::kMbOverhead;
}

std::optional<ReaderEvent> FrameReader::Next(Clock::time_point now) {
    if (buffer_.empty()) return std::nullopt;
    if (buffer_.front() != codec::kStx) {
        std::size_t skip = 0;
        while (skip < buffer_.size() && buffer_[skip] != codec::kStx) ++skip;
        ReaderEvent event;
        event.kind = ReaderEvent::Kind::kSkipped;
        event.raw = Take(skip);
        return event;
    }
    bool shortFrame = true;
    const std::size_t size = DeclaredSize(shortFrame);
    if (size != 0 && buffer_.size() >= size) return Decode(size, shortFrame);
    if (now - lastByte_ >= frameTimeout_) {
        ReaderEvent event;
        event.kind = ReaderEvent::Kind::kMalformed;
        event.problem = "incomplete frame";
        event.raw = Take(buffer_.size());
        return event;
    }
    return std::nullopt;
}

ReaderEvent FrameReader::Decode(std::size_t size, bool shortFrame) {
    ReaderEvent event;
    event.raw = Take(size);
    const std::vector<uint8_t>& raw = event.raw;
    const std::span<const uint8_t> body(raw.data() + 1, size - 3);
    if (raw[size - 1] != codec::kEtx) {
        event.kind = ReaderEvent::Kind::kMalformed;
        event.problem = "bad ETX";
        return event;
    }
    if (codec::Checksum(body) != raw[size - 2]) {
        event.kind = ReaderEvent::Kind::kMalformed;
        event.problem = "bad checksum";
        return event;
    }
    Frame& frame = event.frame;
    frame.commandId = raw[1];
    if (shortFrame) {
        frame.format = FrameFormat::kShort;
        frame.write = (raw[2] & codec::kReadFlag) == 0;
        frame.length = raw[2] & 0x7F;
        if (frame.write) frame.data.assign(raw.begin() + 3, raw.begin() + 3 + frame.length);
    } else {
        frame.format = FrameFormat::kMb;
        frame.write = (raw[2] & codec::kReadFlag) == 0;
        frame.length = static_cast<uint16_t>(((raw[2] & 0x7F) << 8) | raw[3]);
        frame.data.assign(raw.begin() + 4, raw.begin() + 4 + frame.length);
    }
    return event;
}

}  // namespace velterra::sim
