#include "FrameCodec.h"
#include "RsPortTestSupport.h"

using namespace velterra::test;
using std::chrono::milliseconds;

TEST_F(RsPortTest, ShortWriteSendsTheFrameAndStopsAtTheAck) {
    // Bytes after the ACK stay unread: a write is done once acknowledged.
    camera.Script({Step::AfterShortFrame().Ack().Send({0xAA, 0xBB})});
    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
    uint8_t data[] = {0x01, 0x02, 0x03};
    int32_t result = 0;
    const long long ms = TimeMs([&] { result = RSC_ReadWritePort(kIndex, 1, 0x10, 3, data); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(camera.Received(), (Bytes{0x02, 0x10, 0x03, 0x01, 0x02, 0x03, 0x13, 0x03}));
    EXPECT_GE(ms, 190) << "the two fixed 100 ms sleeps bound every exchange";
    EXPECT_LT(ms, 1500);

    uint8_t rest[2] = {};
    ASSERT_EQ(RSC_ReadWritePortDirect(kIndex, 0, 2, rest), 1);
    EXPECT_EQ(rest[0], 0xAA);
    EXPECT_EQ(rest[1], 0xBB);
}

TEST_F(RsPortTest, AnythingButAckFailsTheExchange) {
    for (uint8_t answer : {velterra::codec::kNak, uint8_t{0x00}, velterra::codec::kStx}) {
        camera.ClearReceived();
        camera.Script({Step::AfterShortFrame().Send({answer})});
        ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
        EXPECT_EQ(RSC_CommandPort(kIndex, 0x20, 0, nullptr), 0) << int{answer};
        uint8_t buffer[2] = {0x11, 0x22};
        camera.Script({Step::AfterShortFrame().Send({answer}).Send(ShortReply(0x21, {7, 8}))});
        EXPECT_EQ(RSC_ReadWritePort(kIndex, 0, 0x21, 2, buffer), 0) << int{answer};
        EXPECT_EQ(buffer[0], 0x11);
        EXPECT_EQ(buffer[1], 0x22);
        // The refused reply's bytes are not taken for the next exchange's answer.
        camera.Script({Step::AfterShortFrame().Ack().Send(ShortReply(0x21, {3, 4}))});
        EXPECT_EQ(RSC_ReadWritePort(kIndex, 0, 0x21, 2, buffer), 1) << int{answer};
        EXPECT_EQ(Bytes(buffer, buffer + 2), (Bytes{3, 4})) << int{answer};
        RSC_ClosePort(kIndex);
    }
}

TEST_F(RsPortTest, ShortReadSendsFiveBytesAndCopiesOnlyTheData) {
    camera.Script({Step::AfterShortFrame().Ack().Send(ShortReply(0x21, {0xA1, 0xA2, 0xA3, 0xA4}))});
    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
    uint8_t buffer[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    ASSERT_EQ(RSC_ReadWritePort(kIndex, 0, 0x21, 4, buffer + 1), 1);
    EXPECT_EQ(camera.Received(), (Bytes{0x02, 0x21, 0x84, 0xA5, 0x03}));
    EXPECT_EQ(Bytes(buffer, buffer + 6), (Bytes{0xEE, 0xA1, 0xA2, 0xA3, 0xA4, 0xEE}));
}

TEST_F(RsPortTest, ReplyArrivingInPiecesIsAssembled) {
    const Bytes reply = ShortReply(0x30, {1, 2, 3, 4, 5, 6, 7, 8});
    camera.Script(
        {Step::AfterShortFrame().Ack().Send(Bytes(reply.begin(), reply.begin() + 4)),
         Step::Now().After(milliseconds(350)).Send(Bytes(reply.begin() + 4, reply.end()))});
    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
    uint8_t buffer[8] = {};
    ASSERT_EQ(RSC_ReadWritePort(kIndex, 0, 0x30, 8, buffer), 1);
    EXPECT_EQ(Bytes(buffer, buffer + 8), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(RsPortTest, ReplyThatStopsHalfWayFailsAndLeavesTheBufferAlone) {
    const Bytes reply = ShortReply(0x30, {1, 2, 3, 4, 5, 6, 7, 8});
    camera.Script({Step::AfterShortFrame().Ack().Send(Bytes(reply.begin(), reply.begin() + 6))});
    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
    uint8_t buffer[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    int32_t result = 1;
    const long long ms = TimeMs([&] { result = RSC_ReadWritePort(kIndex, 0, 0x30, 8, buffer); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Bytes(buffer, buffer + 8), Bytes(8, 9));
    EXPECT_LT(ms, 4500) << "the rest of a reply is waited for 3 s at most";
}

TEST_F(RsPortTest, NoAckWithinThreeSecondsFails) {
    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
    int32_t result = 1;
    const long long ms = TimeMs([&] { result = RSC_CommandPort(kIndex, 0x20, 0, nullptr); });
    EXPECT_EQ(result, 0);
    EXPECT_GE(ms, 3000);
    EXPECT_LT(ms, 4500);
}

TEST_F(RsPortTest, AckWithoutReplyFailsAndLeavesTheBufferAlone) {
    camera.Script({Step::AfterShortFrame().Ack()});
    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
    uint8_t buffer[4] = {5, 6, 7, 8};
    int32_t result = 1;
    const long long ms = TimeMs([&] { result = RSC_ReadWritePort(kIndex, 0, 0x21, 4, buffer); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{5, 6, 7, 8}));
    EXPECT_GE(ms, 3000);
    EXPECT_LT(ms, 4500);

    // The port stays usable after a failed exchange.
    camera.Script({Step::AfterShortFrame().Ack()});
    EXPECT_EQ(RSC_CommandPort(kIndex, 0x20, 1, buffer), 1);
}

TEST_F(RsPortTest, ShortLengthsThatCannotBeFramedAreRefusedOffTheWire) {
    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
    uint8_t buffer[200] = {};
    EXPECT_EQ(RSC_ReadWritePort(kIndex, 1, 0x10, 128, buffer), 0);
    EXPECT_EQ(RSC_ReadWritePort(kIndex, 0, 0x10, 200, buffer), 0);
    EXPECT_EQ(RSC_ReadWritePort(kIndex, 0, 0x10, 4, nullptr), 0);
    EXPECT_FALSE(camera.WaitForReceived(1, milliseconds(50)));
}

TEST_F(RsPortTest, FramedCallsRequireTheMatchingKernelDirectTransfersDoNot) {
    FakeCamera mbCamera;
    mbCamera.AttachAsCom(2);
    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
    ASSERT_EQ(RSC_OpenPort(1, 9600, 1), 1);
    uint8_t data[2] = {1, 2};
    EXPECT_EQ(RSC_ReadWritePort(1, 1, 0x10, 2, data), 0);
    EXPECT_EQ(RSC_CommandPort(1, 0x10, 2, data), 0);
    EXPECT_EQ(RSC_ReadWritePort_MB(kIndex, 1, 0x10, 2, data, 0, nullptr, nullptr), 0);
    EXPECT_EQ(RSC_CommandPort_MB(kIndex, 0x10, 2, data), 0);
    EXPECT_EQ(RSC_ReadWritePort(7, 1, 0x10, 2, data), 0) << "never opened";
    EXPECT_FALSE(camera.WaitForReceived(1, milliseconds(20)));
    EXPECT_FALSE(mbCamera.WaitForReceived(1, milliseconds(20)));

    EXPECT_EQ(RSC_ReadWritePortDirect(kIndex, 1, 2, data), 1);
    EXPECT_EQ(RSC_ReadWritePortDirect(1, 1, 2, data), 1);
    EXPECT_TRUE(camera.WaitForReceived(2, milliseconds(1000)));
    EXPECT_TRUE(mbCamera.WaitForReceived(2, milliseconds(1000)));
    EXPECT_EQ(RSC_ReadWritePortDirect(7, 1, 2, data), 0);
}
