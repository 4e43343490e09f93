#include <gtest/gtest.h>

#include "FakeCamera.h"
#include "FrameCodec.h"
#include "rsport.h"
#include "velterradll.h"

using namespace velterra::test;
using std::chrono::milliseconds;

namespace {

constexpr int32_t kRs232 = TVR_PORT_RS232;

class PortDispatch : public ::testing::Test {
  protected:
    static constexpr int32_t kIndex = 4;  // COM5

    void SetUp() override { camera.AttachAsCom(kIndex + 1); }
    void TearDown() override { tvr_ClosePort(kRs232, kIndex); }

    bool NothingSent() { return !camera.WaitForReceived(1, milliseconds(30)); }

    FakeCamera camera;
};

}  // namespace

TEST_F(PortDispatch, UnknownPortTypeOrKernelIsRefusedBeforeAnyTransport) {
    uint8_t kernel = 0;
    EXPECT_EQ(tvr_OpenPort3(kRs232, kIndex, 9600, 2), 0);
    EXPECT_EQ(RSC_QueryCamKernel(kIndex, &kernel), 0) << "the transport was not asked to open";
    for (int32_t type : {2, -1}) {
        EXPECT_EQ(tvr_OpenPort(type, kIndex), 0);
        EXPECT_EQ(tvr_OpenPort2(type, kIndex, 9600), 0);
        EXPECT_EQ(tvr_OpenPort3(type, kIndex, 9600, 0), 0);
    }
    EXPECT_EQ(RSC_QueryCamKernel(kIndex, &kernel), 0);

    // Framed and raw calls of an unknown type fail even while the RS-232 port is open.
    ASSERT_EQ(tvr_OpenPort(kRs232, kIndex), 1);
    uint8_t data[4] = {};
    uint16_t length = 0;
    EXPECT_EQ(tvr_ReadWritePort(2, kIndex, 1, 0x10, 1, data), 0);
    EXPECT_EQ(tvr_ReadWritePort2(2, kIndex, 0, 0x10, 0, nullptr, 4, &length, data), 0);
    EXPECT_EQ(tvr_CommandPort(2, kIndex, 0x10, 1, data), 0);
    EXPECT_EQ(tvr_CommandPort2(2, kIndex, 0x10, 1, data), 0);
    EXPECT_EQ(tvr_ReadWritePortDirect(2, kIndex, 1, 1, data), 0);
    EXPECT_EQ(tvr_ClosePort(2, kIndex), 0);
    EXPECT_TRUE(NothingSent());
}

TEST_F(PortDispatch, FramedCallsOnAPortNeverOpenedFail) {
    uint8_t data[4] = {};
    uint16_t length = 0;
    EXPECT_EQ(tvr_ReadWritePort(kRs232, kIndex, 1, 0x10, 1, data), 0);
    EXPECT_EQ(tvr_ReadWritePort(kRs232, kIndex, 0, 0x10, 1, data), 0);
    EXPECT_EQ(tvr_ReadWritePort2(kRs232, kIndex, 0, 0x10, 0, nullptr, 4, &length, data), 0);
    EXPECT_EQ(tvr_CommandPort(kRs232, kIndex, 0x10, 1, data), 0);
    EXPECT_EQ(tvr_CommandPort2(kRs232, kIndex, 0x10, 1, data), 0);
    EXPECT_EQ(tvr_ReadWritePortDirect(kRs232, kIndex, 1, 1, data), 0);
    EXPECT_EQ(tvr_ClosePort(kRs232, kIndex), 0);
}

TEST_F(PortDispatch, KernelZeroSendsTheShortFramesByteForByte) {
    camera.Script({Step::AfterShortFrame().Ack(),
                   Step::AfterShortFrame().Ack().Send(ShortReply(0x21, {4, 3, 2, 1}))});
    ASSERT_EQ(tvr_OpenPort(kRs232, kIndex), 1);
    const uint8_t data[] = {0x01, 0x02, 0x03};
    ASSERT_EQ(tvr_CommandPort(kRs232, kIndex, 0x10, 3, data), 1);
    uint8_t buffer[4] = {};
    ASSERT_EQ(tvr_ReadWritePort(kRs232, kIndex, 0, 0x21, 4, buffer), 1);
    EXPECT_EQ(camera.Received(), (Bytes{0x02, 0x10, 0x03, 0x01, 0x02, 0x03, 0x13, 0x03,  //
                                        0x02, 0x21, 0x84, 0xA5, 0x03}));
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{4, 3, 2, 1}));
}

TEST_F(PortDispatch, KernelZeroLimitsTheSixteenBitEntriesTo127Bytes) {
    ASSERT_EQ(tvr_OpenPort2(kRs232, kIndex, 19200), 1);
    Bytes big(200, 0x11);
    uint16_t length = 0xFFFF;
    EXPECT_EQ(tvr_ReadWritePort2(kRs232, kIndex, 0, 0x22, 0, nullptr, 128, &length, big.data()), 0);
    EXPECT_EQ(tvr_ReadWritePort2(kRs232, kIndex, 1, 0x22, 128, big.data(), 0, nullptr, nullptr), 0);
    EXPECT_EQ(tvr_CommandPort2(kRs232, kIndex, 0x22, 128, big.data()), 0);
    EXPECT_TRUE(NothingSent());
    EXPECT_EQ(big, Bytes(200, 0x11));

    Bytes reply(127);
    for (size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<uint8_t>(i);
    camera.Script({Step::AfterShortFrame().Ack().Send(ShortReply(0x22, reply))});
    ASSERT_EQ(tvr_ReadWritePort2(kRs232, kIndex, 0, 0x22, 0, nullptr, 127, &length, big.data()), 1);
    EXPECT_EQ(camera.Received(), velterra::codec::EncodeShortReadRequest(0x22, 127));
    EXPECT_EQ(Bytes(big.begin(), big.begin() + 127), reply);
    EXPECT_EQ(big[127], 0x11);
    EXPECT_EQ(length, 0xFFFF) << "kernel 0 never writes the reply length";
}

TEST_F(PortDispatch, KernelOneCarriesEveryExchangeInMbFrames) {
    namespace codec = velterra::codec;
    ASSERT_EQ(tvr_OpenPort3(kRs232, kIndex, 115200, 1), 1);

    // Legacy write and command: MB write frames.
    camera.Script({Step::AfterMbFrame().Ack(), Step::AfterMbFrame().Ack()});
    uint8_t data[] = {7, 8, 9};
    ASSERT_EQ(tvr_ReadWritePort(kRs232, kIndex, 1, 0x40, 3, data), 1);
    ASSERT_EQ(tvr_CommandPort(kRs232, kIndex, 0x41, 2, data), 1);
    Bytes expected = codec::EncodeMbFrame(true, 0x40, Bytes{7, 8, 9});
    const Bytes second = codec::EncodeMbFrame(true, 0x41, Bytes{7, 8});
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(camera.Received(), expected);

    // Legacy read: a 6-byte read request without data; the reply lands in the caller's buffer.
    camera.ClearReceived();
    camera.Script({Step::AfterMbFrame().Ack().Send(MbReply(0x42, {5, 6}))});
    uint8_t buffer[4] = {0, 0, 0, 0};
    ASSERT_EQ(tvr_ReadWritePort(kRs232, kIndex, 0, 0x42, 4, buffer), 1);
    EXPECT_EQ(camera.Received(), (Bytes{0x02, 0x42, 0x80, 0x00, 0xC2, 0x03}));
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{5, 6, 0, 0}));

    // The 16-bit entry passes parameters and reports the camera's reply length.
    camera.ClearReceived();
    const Bytes reply(300, 0x3C);
    camera.Script({Step::AfterMbFrame().Ack().Send(MbReply(0x43, reply))});
    const uint8_t params[6] = {1, 0, 0, 0, 150, 0};
    Bytes table(400, 0);
    uint16_t length = 0;
    ASSERT_EQ(tvr_ReadWritePort2(kRs232, kIndex, 0, 0x43, 6, params, 400, &length, table.data()),
              1);
    EXPECT_EQ(camera.Received(), codec::EncodeMbFrame(false, 0x43, Bytes(params, params + 6)));
    EXPECT_EQ(length, 300);
    EXPECT_EQ(Bytes(table.begin(), table.begin() + 300), reply);

    // A 16-bit write of more than 127 bytes is fine on kernel 1.
    camera.Script({Step::AfterMbFrame().Ack()});
    EXPECT_EQ(tvr_CommandPort2(kRs232, kIndex, 0x44, 400, table.data()), 1);

    // Raw transfers ignore the kernel.
    EXPECT_EQ(tvr_ReadWritePortDirect(kRs232, kIndex, 1, 3, data), 1);
}
