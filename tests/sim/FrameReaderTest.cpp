// Cutting the host's byte stream into frames without a line in between.
#include <gtest/gtest.h>

#include "FrameCodec.h"
#include "FrameReader.h"

namespace velterra::sim {
namespace {

using std::chrono::milliseconds;
using Bytes = std::vector<uint8_t>;

class FrameReaderTest : public ::testing::Test {
  protected:
    std::vector<ReaderEvent> Drain(FrameReader& reader, Clock::time_point now) {
        std::vector<ReaderEvent> events;
        while (auto event = reader.Next(now)) events.push_back(std::move(*event));
        return events;
    }
    const Clock::time_point t0 = Clock::now();
};

TEST_F(FrameReaderTest, ShortFramesAcrossFeedsWithNoiseAndBadFrames) {
    FrameReader reader(0, milliseconds(500));
    const Bytes write = velterra::codec::EncodeShortFrame(true, 0x10, Bytes{1, 2, 3});
    Bytes stream = {0xFF, 0x06};  // noise
    stream.insert(stream.end(), write.begin(), write.end());
    stream.insert(stream.end(), {0x02, 0x21, 0x84, 0x00, 0x03});  // read with a bad checksum
    stream.insert(stream.end(), {0x02, 0x21, 0x84, 0xA5, 0x04});  // read with a bad ETX
    const Bytes read = velterra::codec::EncodeShortReadRequest(0x21, 4);
    stream.insert(stream.end(), read.begin(), read.end());

    // Fed in two pieces, the first ending inside the write frame.
    reader.Feed(std::span(stream).first(5), t0);
    auto events = Drain(reader, t0);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, ReaderEvent::Kind::kSkipped);
    EXPECT_EQ(events[0].raw, (Bytes{0xFF, 0x06}));
    reader.Feed(std::span(stream).subspan(5), t0);
    events = Drain(reader, t0);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, ReaderEvent::Kind::kFrame);
    EXPECT_TRUE(events[0].frame.write);
    EXPECT_EQ(events[0].frame.commandId, 0x10);
    EXPECT_EQ(events[0].frame.data, (Bytes{1, 2, 3}));
    EXPECT_EQ(events[1].problem, "bad checksum");
    EXPECT_EQ(events[2].problem, "bad ETX");
    EXPECT_EQ(events[3].kind, ReaderEvent::Kind::kFrame);
    EXPECT_FALSE(events[3].frame.write);
    EXPECT_EQ(events[3].frame.length, 4);
    EXPECT_TRUE(events[3].frame.data.empty());
    EXPECT_EQ(reader.Buffered(), 0u);
}

TEST_F(FrameReaderTest, FrameCutShortIsGivenUpAfterTheTimeout) {
    FrameReader reader(0, milliseconds(500));
    reader.Feed(Bytes{0x02, 0x10, 0x03, 0x01}, t0);
    EXPECT_FALSE(reader.Next(t0 + milliseconds(499)).has_value());
    // A late byte restarts the clock.
    reader.Feed(Bytes{0x02}, t0 + milliseconds(400));
    EXPECT_FALSE(reader.Next(t0 + milliseconds(800)).has_value());
    const auto event = reader.Next(t0 + milliseconds(900));
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->kind, ReaderEvent::Kind::kMalformed);
    EXPECT_EQ(event->problem, "incomplete frame");
    EXPECT_EQ(event->raw.size(), 5u);
    EXPECT_EQ(reader.Buffered(), 0u);
}

TEST_F(FrameReaderTest, Kernel1ReadsMbFramesAndOnlyTheModelShortRead) {
    FrameReader reader(1, milliseconds(500));
    reader.AcceptShortRead(0x90, 16);
    const Bytes modelRead = velterra::codec::EncodeShortReadRequest(0x90, 16);
    const Bytes mbRead = velterra::codec::EncodeMbFrame(false, 0xB0, Bytes{3, 0, 100, 0, 8, 0});
    // A short write of another command is no frame to this camera: as MB its length field
    // asks for 256 bytes that never come.
    const Bytes shortWrite = velterra::codec::EncodeShortFrame(true, 0x8F, Bytes{0});
    Bytes stream = modelRead;
    stream.insert(stream.end(), mbRead.begin(), mbRead.end());
    reader.Feed(stream, t0);
    auto events = Drain(reader, t0);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].frame.format, FrameFormat::kShort);
    EXPECT_EQ(events[0].frame.length, 16);
    EXPECT_EQ(events[1].frame.format, FrameFormat::kMb);
    EXPECT_FALSE(events[1].frame.write);
    EXPECT_EQ(events[1].frame.data, (Bytes{3, 0, 100, 0, 8, 0}));

    // An MB read of the model command whose first bytes match the short read is still MB.
    Bytes alike = {0x02, 0x90, 0x90, 0x01};
    alike.resize(4 + 0x1001, 0x55);
    Bytes body(alike.begin() + 1, alike.end());
    alike.push_back(velterra::codec::Checksum(body));
    alike.push_back(0x03);
    reader.Feed(alike, t0);
    events = Drain(reader, t0);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].frame.format, FrameFormat::kMb);
    EXPECT_EQ(events[0].frame.length, 0x1001);

    reader.Feed(shortWrite, t0);
    EXPECT_TRUE(Drain(reader, t0).empty());
    events = Drain(reader, t0 + milliseconds(600));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].problem, "incomplete frame");
}

}  // namespace
}  // namespace velterra::sim
