// Table transfers and one-pixel exchanges on a short-frame (kernel 0) camera, through the
// exported functions.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "BulkTestCameras.h"
#include "velterradll.h"

namespace velterra::test {
namespace {

constexpr uint8_t kTableCommand = 0x60;

class BulkShortFrameTransfer : public FakePortTest {
  protected:
    void SetUp() override {
        short_.SetTableCommands({kTableCommand});
        OpenShortFrame();
    }

    // Everything the camera received, once the fake has caught up with what was sent.
    Bytes Received(size_t atLeast) {
        fake_.WaitForReceived(atLeast, std::chrono::seconds(2));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return fake_.Received();
    }
};

Bytes Frame(uint8_t commandId, const Bytes& data) {
    Bytes frame = {0x02, commandId, static_cast<uint8_t>(data.size())};
    frame.insert(frame.end(), data.begin(), data.end());
    uint8_t sum = 0;
    for (size_t i = 1; i < frame.size(); ++i) sum ^= frame[i];
    frame.push_back(sum);
    frame.push_back(0x03);
    return frame;
}

TEST_F(BulkShortFrameTransfer, TableWriteIsHeaderThenAckThenOneRawLittleEndianBlock) {
    std::vector<uint16_t> lut(4096);
    for (size_t i = 0; i < lut.size(); ++i) lut[i] = static_cast<uint16_t>(i * 16 + (i >> 4));
    // The status id and the offset play no part on this kernel.
    ASSERT_EQ(tvr_LUTMassWrite2(kRs232, kPort, kTableCommand, 0x77, 3, 0, 9, 4096, lut.data()), 1);

    Bytes expected = Frame(kTableCommand, {1, 3, 0x00, 0x10});
    expected.push_back(0x06);
    const Bytes block = LittleEndian(lut);
    expected.insert(expected.end(), block.begin(), block.end());
    EXPECT_EQ(Received(expected.size()), expected);
    EXPECT_EQ(short_.Table(3), lut);
    EXPECT_TRUE(short_.Stray().empty());
}

TEST_F(BulkShortFrameTransfer, WriteStopsAfterTheHeaderWhenTheCameraIsNotReady) {
    short_.SetHandshake(0x41);
    const std::vector<uint16_t> table(100, 7);
    EXPECT_EQ(tvr_FpnPrnuTablesMassWrite(kRs232, kPort, kTableCommand, 1, 100, table.data()), 0);
    const Bytes header = Frame(kTableCommand, {1, 1, 100, 0});
    EXPECT_EQ(Received(header.size()), header);  // no ACK byte, no entries
}

TEST_F(BulkShortFrameTransfer, TableReadTakesTheRawBlockAfterTheHandshakeWhateverTheMode) {
    std::vector<uint16_t> table(300);
    for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint16_t>(0xFFFF - i * 3);
    short_.FillTable(5, table);
    std::vector<uint16_t> back(300);
    uint16_t entriesRead = 0;
    ASSERT_EQ(
        tvr_LUTMassRead2(kRs232, kPort, kTableCommand, 0, 5, 1, 0, 300, &entriesRead, back.data()),
        1);
    EXPECT_EQ(back, table);
    EXPECT_EQ(entriesRead, 300);

    short_.FillTable(2, table);
    std::fill(back.begin(), back.end(), 0);
    ASSERT_EQ(tvr_FpnPrnuTablesMassRead(kRs232, kPort, kTableCommand, 2, 300, back.data()), 1);
    EXPECT_EQ(back, table);

    const auto frames = short_.Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].data, (Bytes{0, 5, 0x2C, 0x01}));
    EXPECT_EQ(frames[1].data, (Bytes{0, 2, 0x2C, 0x01}));
    EXPECT_EQ(short_.HostHandshakes(), (Bytes{0x06, 0x06}));
}

TEST_F(BulkShortFrameTransfer, OnePixelWriteAndReadUseShortFrames) {
    ASSERT_EQ(tvr_OnePixelWriteNew(kRs232, kPort, 0x52, 1, 0x0F10, 0x8001), 1);
    short_.SetReadReply(0x53, {1, 0x10, 0x0F, 0xCD, 0xAB});
    uint16_t value = 0;
    ASSERT_EQ(tvr_OnePixelRead(kRs232, kPort, 0x53, 1, 0x0F10, &value), 1);
    EXPECT_EQ(value, 0xABCD);

    Bytes expected = Frame(0x52, {1, 0x10, 0x0F, 0x01, 0x80});
    const Bytes readRequest = {0x02, 0x53, 0x85, 0x53 ^ 0x85, 0x03};
    expected.insert(expected.end(), readRequest.begin(), readRequest.end());
    EXPECT_EQ(Received(expected.size()), expected);
}

TEST_F(BulkShortFrameTransfer, VectorDataAndMissingPointersAreRefusedBeforeTheWire) {
    std::vector<uint16_t> data(8, 1);
    EXPECT_EQ(tvr_LUTMassWrite2(kRs232, kPort, kTableCommand, 0, 0, 1, 0, 2, data.data()), 0);
    EXPECT_EQ(tvr_OnePixelRead(kRs232, kPort, 0x53, 0, 1, nullptr), 0);
    EXPECT_EQ(tvr_LUTMassRead(kRs232, kPort, kTableCommand, 0, -3, data.data()), 0);
    EXPECT_EQ(Received(0), Bytes{});
}

}  // namespace
}  // namespace velterra::test
