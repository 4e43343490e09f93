// Cuts the byte stream from the host into request frames of the camera's kernel.
//
// Bytes before an STX are skipped. A frame whose checksum or ETX is wrong is reported as
// malformed and its declared bytes are dropped; so is a frame whose bytes stop arriving for
// the frame time-out (a frame shorter than its length field says). A kernel-1 camera reads
// MB frames, except the short read of the model text, which a host sends before it knows the
// kernel.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velterra::sim {

using Clock = std::chrono::steady_clock;

enum class FrameFormat { kShort, kMb };

struct Frame {
    FrameFormat format = FrameFormat::kShort;
    bool write = false;
    uint8_t commandId = 0;
    // Short frame: data bytes of a write, or bytes asked for by a read. MB: data bytes.
    uint16_t length = 0;
    std::vector<uint8_t> data;  // a write's data, or an MB read's parameters
};

struct ReaderEvent {
    enum class Kind { kFrame, kMalformed, kSkipped };
    Kind kind = Kind::kFrame;
    Frame frame;               // kFrame
    std::string problem;       // kMalformed: "bad checksum", "bad ETX", "incomplete frame"
    std::vector<uint8_t> raw;  // the bytes the event covers
};

class FrameReader {
  public:
    FrameReader(int kernel, std::chrono::milliseconds frameTimeout);

    // The short read that a kernel-1 camera still understands (the model text read).
    void AcceptShortRead(uint8_t commandId, uint8_t length);

    void Feed(std::span<const uint8_t> bytes, Clock::time_point now);
    // The next frame, malformed frame or run of skipped bytes, if one is complete.
    std::optional<ReaderEvent> Next(Clock::time_point now);

    // When Next() gives up on the incomplete frame that is buffered; none when nothing is.
    std::optional<Clock::time_point> Deadline() const;

    // Raw (unframed) access for table transfers.
    std::size_t Buffered() const { return buffer_.size(); }
    std::vector<uint8_t> Take(std::size_t count);
    uint8_t Peek() const { return buffer_.front(); }

  private:
    // Total size of the frame at the front once its header is in, else 0.
    std::size_t DeclaredSize(bool& shortFrame) const;
    ReaderEvent Decode(std::size_t size, bool shortFrame);

    int kernel_;
    std::chrono::milliseconds frameTimeout_;
    std::optional<std::pair<uint8_t, uint8_t>> shortRead_;
    std::deque<uint8_t> buffer_;
    Clock::time_point lastByte_{};
};

}  // namespace velterra::sim
