#include <gtest/gtest.h>

#include <random>

#include "FrameCodec.h"

namespace codec = velterra::codec;
using Bytes = std::vector<uint8_t>;

TEST(FrameCodec, ShortFramesMatchTheWireExamples) {
    EXPECT_EQ(codec::EncodeShortFrame(true, 0x10, Bytes{0x01, 0x02, 0x03}),
              (Bytes{0x02, 0x10, 0x03, 0x01, 0x02, 0x03, 0x13, 0x03}));
    EXPECT_EQ(codec::EncodeShortReadRequest(0x21, 4), (Bytes{0x02, 0x21, 0x84, 0xA5, 0x03}));
    // Zero data bytes: the bare 5-byte frames.
    EXPECT_EQ(codec::EncodeShortFrame(true, 0x40, Bytes{}), (Bytes{0x02, 0x40, 0x00, 0x40, 0x03}));
    EXPECT_EQ(codec::EncodeShortReadRequest(0x40, 0), (Bytes{0x02, 0x40, 0x80, 0xC0, 0x03}));
}

TEST(FrameCodec, LengthsThatCollideWithTheReadFlagAreRefused) {
    uint8_t out[300];
    const Bytes data(128, 0xAA);
    EXPECT_EQ(codec::EncodeShortFrame(true, 0x10, 128, data.data(), out), 0u);
    EXPECT_EQ(codec::EncodeShortFrame(false, 0x10, 128, nullptr, out), 0u);
    EXPECT_EQ(codec::EncodeShortFrame(true, 0x10, 127, data.data(), out), 132u);
    EXPECT_EQ(out[2], 0x7F);
    std::vector<uint8_t> big(32768 + 6);
    const Bytes payload(32768, 0x55);
    EXPECT_EQ(codec::EncodeMbFrame(true, 0x10, 32768, payload.data(), big), 0u);
    EXPECT_EQ(codec::EncodeMbFrame(true, 0x10, 32767, payload.data(), big), 32767u + 6);
    EXPECT_EQ(big[2], 0x7F);
    EXPECT_EQ(big[3], 0xFF);
    // Too small an output buffer is refused, not overrun.
    EXPECT_EQ(codec::EncodeShortFrame(true, 0x10, 3, data.data(), std::span(out, 7)), 0u);
}

TEST(FrameCodec, MbFramesCarryLengthAndReadFlag) {
    const Bytes payload(300, 0x5A);
    const Bytes write = codec::EncodeMbFrame(true, 0xC5, payload);
    ASSERT_EQ(write.size(), 306u);
    EXPECT_EQ(write[2], 0x01);
    EXPECT_EQ(write[3], 0x2C);
    EXPECT_EQ(write.back(), codec::kEtx);

    EXPECT_EQ(codec::EncodeMbFrame(false, 0x30, Bytes{}),
              (Bytes{0x02, 0x30, 0x80, 0x00, 0x30 ^ 0x80, 0x03}));
    // A read request may carry parameter bytes.
    EXPECT_EQ(codec::EncodeMbFrame(false, 0x30, Bytes{0x07}),
              (Bytes{0x02, 0x30, 0x80, 0x01, 0x07, 0x30 ^ 0x80 ^ 0x01 ^ 0x07, 0x03}));
}

TEST(FrameCodec, ChecksumsAgreeWithAnIndependentSumOverRandomPayloads) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round) {
        const uint8_t id = static_cast<uint8_t>(random());
        const size_t n = random() % 128;
        Bytes data(n);
        for (auto& b : data) b = static_cast<uint8_t>(random());

        const Bytes shortFrame = codec::EncodeShortFrame(true, id, data);
        uint8_t expected = id ^ static_cast<uint8_t>(n);
        for (uint8_t b : data) expected ^= b;
        ASSERT_EQ(shortFrame.size(), n + 5);
        EXPECT_EQ(shortFrame[0], 0x02);
        EXPECT_EQ(Bytes(shortFrame.begin() + 3, shortFrame.begin() + 3 + n), data);
        EXPECT_EQ(shortFrame[3 + n], expected);
        EXPECT_EQ(shortFrame[4 + n], 0x03);

        const size_t m = random() % 2000;
        Bytes big(m);
        for (auto& b : big) b = static_cast<uint8_t>(random());
        const Bytes mbFrame = codec::EncodeMbFrame(true, id, big);
        uint8_t mbExpected = id ^ static_cast<uint8_t>(m >> 8) ^ static_cast<uint8_t>(m);
        for (uint8_t b : big) mbExpected ^= b;
        ASSERT_EQ(mbFrame.size(), m + 6);
        EXPECT_EQ(mbFrame[4 + m], mbExpected);

        // A reply built like the camera builds it passes the checks and yields its length.
        uint16_t length = 0;
        EXPECT_EQ(codec::CheckMbReply(codec::EncodeMbReply(id, big), id, &length),
                  codec::MbReplyCheck::kOk);
        EXPECT_EQ(length, m);
    }
}

TEST(FrameCodec, EachMbReplyDefectIsCaughtOnItsOwn) {
    const Bytes good = codec::EncodeMbReply(0x44, Bytes{1, 2, 3});
    auto broken = [&](size_t at, uint8_t value) {
        Bytes reply = good;
        reply[at] = value;
        return reply;
    };
    using Check = codec::MbReplyCheck;
    uint16_t length = 0xBEEF;
    EXPECT_EQ(codec::CheckMbReply(broken(0, 0x03), 0x44, &length), Check::kBadStx);
    EXPECT_EQ(codec::CheckMbReply(good, 0x45, &length), Check::kBadCommandId);
    EXPECT_EQ(codec::CheckMbReply(broken(2, 0x80), 0x44, &length), Check::kReadFlagSet);
    EXPECT_EQ(codec::CheckMbReply(broken(8, 0x00), 0x44, &length), Check::kBadEtx);
    EXPECT_EQ(codec::CheckMbReply(broken(7, good[7] ^ 0x01), 0x44, &length), Check::kBadChecksum);
    EXPECT_EQ(codec::CheckMbReply(broken(4, 0x09), 0x44, &length), Check::kBadChecksum);
    EXPECT_EQ(codec::CheckMbReply(std::span(good).first(8), 0x44, &length), Check::kTruncated);
    EXPECT_EQ(length, 0xBEEF) << "a failed check leaves the length alone";
    EXPECT_EQ(codec::CheckMbReply(good, 0x44, &length), Check::kOk);
    EXPECT_EQ(length, 3);
}
