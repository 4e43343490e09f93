#include <numeric>

#include "FrameCodec.h"
#include "RsPortTestSupport.h"

using namespace velterra::test;
using std::chrono::milliseconds;

TEST_F(RsPortTest, DirectTransfersMoveRawBytesEitherWay) {
    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
    uint8_t none = 0x77;
    EXPECT_EQ(RSC_ReadWritePortDirect(kIndex, 0, 0, &none), 1) << "nothing to read succeeds";
    EXPECT_EQ(RSC_ReadWritePortDirect(kIndex, 1, -3, nullptr), 1);
    EXPECT_EQ(none, 0x77);

    Bytes block(3000);
    std::iota(block.begin(), block.end(), 0);
    ASSERT_EQ(RSC_ReadWritePortDirect(kIndex, 1, 3000, block.data()), 1);
    ASSERT_TRUE(camera.WaitForReceived(3000, milliseconds(2000)));
    EXPECT_EQ(camera.Received(), block);

    // A read gathers bytes that come in several pieces.
    camera.Script({Step::Now().Send({1, 2}), Step::Now().After(milliseconds(250)).Send({3, 4, 5})});
    uint8_t got[5] = {};
    ASSERT_EQ(RSC_ReadWritePortDirect(kIndex, 0, 5, got), 1);
    EXPECT_EQ(Bytes(got, got + 5), (Bytes{1, 2, 3, 4, 5}));
}

// Three rounds of "camera sends a byte shortly after the host starts waiting": each round
// costs about one reply-poll interval of the library-wide baud value.
static long long ThreeDirectReadRounds(FakeCamera& camera, int32_t index) {
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < 3; ++round) {
        camera.Script({Step::AfterBytes(1).After(milliseconds(60)).Send({0x40})});
        uint8_t byte = velterra::codec::kAck;
        if (RSC_ReadWritePortDirect(index, 1, 1, &byte) != 1) return -1;
        if (RSC_ReadWritePortDirect(index, 0, 1, &byte) != 1 || byte != 0x40) return -1;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

TEST_F(RsPortTest, PollingFollowsTheLastOpenRateEvenWhenThatOpenFails) {
    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
    const long long at9600 = ThreeDirectReadRounds(camera, kIndex);
    EXPECT_GE(at9600, 3 * 170);

    PointComAt(4, "/nonexistent/velterra-port");
    ASSERT_EQ(RSC_OpenPort(3, 19200, 0), 0);
    const long long at19200 = ThreeDirectReadRounds(camera, kIndex);
    EXPECT_GE(at19200, 3 * 100);
    EXPECT_LT(at19200, 3 * 170 - 30) << "the failed open's 19200 must set the interval";
}

class RsPortMbTest : public RsPortTest {
  protected:
    void SetUp() override {
        RsPortTest::SetUp();
        ASSERT_EQ(RSC_OpenPort(kIndex, 115200, 1), 1);
    }
};

TEST_F(RsPortMbTest, WritesCarryTheLengthInBytesTwoAndThree) {
    Bytes payload(300);
    std::iota(payload.begin(), payload.end(), 0);
    camera.Script({Step::AfterMbFrame().Ack()});
    ASSERT_EQ(RSC_CommandPort_MB(kIndex, 0xC5, 300, payload.data()), 1);
    const Bytes sent = camera.Received();
    ASSERT_EQ(sent.size(), 306u);
    EXPECT_EQ(sent[2], 0x01);
    EXPECT_EQ(sent[3], 0x2C);
    EXPECT_EQ(sent, velterra::codec::EncodeMbFrame(true, 0xC5, payload));

    camera.Script({Step::AfterMbFrame().Nak()});
    EXPECT_EQ(RSC_ReadWritePort_MB(kIndex, 1, 0xC5, 2, payload.data(), 0, nullptr, nullptr), 0);
}

TEST_F(RsPortMbTest, ReadStoresTheReplyLengthAndData) {
    camera.Script({Step::AfterMbFrame().Ack().Send(MbReply(0x31, {9, 8, 7}))});
    uint16_t length = 0;
    uint8_t buffer[8] = {};
    ASSERT_EQ(RSC_ReadWritePort_MB(kIndex, 0, 0x31, 0, nullptr, 8, &length, buffer), 1);
    EXPECT_EQ(camera.Received(), (Bytes{0x02, 0x31, 0x80, 0x00, 0xB1, 0x03}));
    EXPECT_EQ(length, 3);
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{9, 8, 7, 0}));

    // Without a length pointer or a buffer the exchange still runs and checks the reply.
    camera.Script({Step::AfterMbFrame().Ack().Send(MbReply(0x31, {1}))});
    EXPECT_EQ(RSC_ReadWritePort_MB(kIndex, 0, 0x31, 0, nullptr, 1, nullptr, nullptr), 1);
}

TEST_F(RsPortMbTest, EachBrokenReplyFailsAndLeavesLengthAndBufferAlone) {
    const Bytes good = MbReply(0x31, {9, 8, 7});
    auto with = [&](size_t at, uint8_t value) {
        Bytes reply = good;
        reply[at] = value;
        return reply;
    };
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"STX", with(0, 0x05)},
        {"echoed id", with(1, 0x32)},
        {"bit 7 of byte 2", with(2, 0x80)},
        {"checksum", with(7, good[7] ^ 0xFF)},
        {"ETX", with(8, 0x04)},
        {"data changed under the checksum", with(5, 0x00)},
    };
    for (const auto& [what, reply] : cases) {
        camera.Script({Step::AfterMbFrame().Ack().Send(reply)});
        uint16_t length = 0xABCD;
        uint8_t buffer[4] = {1, 1, 1, 1};
        EXPECT_EQ(RSC_ReadWritePort_MB(kIndex, 0, 0x31, 0, nullptr, 4, &length, buffer), 0) << what;
        EXPECT_EQ(length, 0xABCD) << what;
        EXPECT_EQ(Bytes(buffer, buffer + 4), Bytes(4, 1)) << what;
        // The rest of the refused reply is gone: the next exchange on the same port gets its own.
        camera.Script({Step::AfterMbFrame().Ack().Send(MbReply(0x31, {4, 5}))});
        EXPECT_EQ(RSC_ReadWritePort_MB(kIndex, 0, 0x31, 0, nullptr, 4, &length, buffer), 1) << what;
        EXPECT_EQ(length, 2) << what;
        EXPECT_EQ(Bytes(buffer, buffer + 2), (Bytes{4, 5})) << what;
    }
}

TEST_F(RsPortMbTest, ReplyLongerThanTheBuffersIsRefused) {
    // Longer than max(write length, read length): the work buffer would overflow.
    camera.Script({Step::AfterMbFrame().Ack().Send(MbReply(0x31, Bytes(40, 0x5A)))});
    uint16_t length = 0;
    Bytes buffer(16, 0);
    const uint8_t params[4] = {1, 2, 3, 4};
    EXPECT_EQ(RSC_ReadWritePort_MB(kIndex, 0, 0x31, 4, params, 16, &length, buffer.data()), 0);
    EXPECT_EQ(buffer, Bytes(16, 0));

    // Fits the work buffer (write length 20) but not the caller's 16-byte read buffer; the first
    // reply's unread bytes do not get in its way.
    camera.Script({Step::AfterMbFrame().Ack().Send(MbReply(0x31, Bytes(18, 0x5A)))});
    const Bytes bigParams(20, 0);
    EXPECT_EQ(
        RSC_ReadWritePort_MB(kIndex, 0, 0x31, 20, bigParams.data(), 16, &length, buffer.data()), 0);
    EXPECT_EQ(buffer, Bytes(16, 0));
    EXPECT_EQ(length, 0);
}

TEST_F(RsPortMbTest, LengthsBeyondFifteenBitsAreRefusedOffTheWire) {
    const Bytes payload(40000, 0);
    EXPECT_EQ(RSC_CommandPort_MB(kIndex, 0x10, 40000, payload.data()), 0);
    EXPECT_EQ(RSC_CommandPort_MB(kIndex, 0x10, 4, nullptr), 0);
    EXPECT_FALSE(camera.WaitForReceived(1, milliseconds(50)));
}
