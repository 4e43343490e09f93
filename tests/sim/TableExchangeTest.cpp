// Table procedures through the protocol library's bulk exports: what goes in comes back out,
// on both kernels, and lands where the camera keeps it.
#include <gtest/gtest.h>

#include <numeric>

#include "SimHarness.h"

namespace velterra::sim::test {
namespace {

// Command.ini of the sample configuration.
constexpr uint8_t kLutRW = 0xB0;
constexpr uint8_t kWaitCmd = 0xB1;
constexpr uint8_t kFpnPrnuWrite = 0xC6;
constexpr uint8_t kFpnPrnuRead = 0xC5;
constexpr uint8_t kOnePixel = 0xC9;
constexpr uint8_t kBadPixels = 0xB4;

std::vector<uint16_t> Pattern(int count, uint16_t seed) {
    std::vector<uint16_t> values(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        values[static_cast<std::size_t>(i)] = static_cast<uint16_t>((i * 37 + seed) & 0xFFFF);
    }
    return values;
}

TEST(TableExchange, LutRoundTripOnKernel0) {
    SimHarness sim(SampleOptions());
    ASSERT_TRUE(sim.Open());
    // A fresh LUT is the identity of the model's 12 bits.
    std::vector<uint16_t> read(4096);
    ASSERT_EQ(tvr_LUTMassRead(kRs232, kPort, kLutRW, 1, 4096, read.data()), 1);
    std::vector<uint16_t> identity(4096);
    std::iota(identity.begin(), identity.end(), 0);
    EXPECT_EQ(read, identity);

    const auto lut = Pattern(4096, 0x8001);
    ASSERT_EQ(tvr_LUTMassWrite(kRs232, kPort, kLutRW, 2, 4096, lut.data()), 1);
    ASSERT_TRUE(sim.WaitForStoredBlock());
    EXPECT_EQ(sim.camera.Table(TableFamily::kLut, 2, 0, 4096), lut);
    ASSERT_EQ(tvr_LUTMassRead(kRs232, kPort, kLutRW, 2, 4096, read.data()), 1);
    EXPECT_EQ(read, lut);
    // Table 1 was only read: still the identity.
    EXPECT_EQ(sim.camera.Table(TableFamily::kLut, 1, 0, 4096), identity);
}

TEST(TableExchange, LutChunksAndNodesOnKernel1) {
    SimHarness sim(SampleOptions("LS-4096M12", 1));
    ASSERT_TRUE(sim.Open());
    const auto lut = Pattern(1000, 7);
    ASSERT_EQ(tvr_LUTMassWrite2(kRs232, kPort, kLutRW, kWaitCmd, 3, 0, 100, 1000, lut.data()), 1);
    EXPECT_EQ(sim.camera.Table(TableFamily::kLut, 3, 100, 1000), lut);
    EXPECT_EQ(sim.camera.Table(TableFamily::kLut, 3, 99, 1), (std::vector<uint16_t>{99}));

    std::vector<uint16_t> read(1000);
    uint16_t entries = 0;
    ASSERT_EQ(tvr_LUTMassRead2(kRs232, kPort, kLutRW, 0, 3, 0, 100, 1000, &entries, read.data()),
              1);
    EXPECT_EQ(entries, 1000);
    EXPECT_EQ(read, lut);

    // Vector nodes: three records of (input, output).
    const std::vector<uint16_t> nodes = {0, 0, 2000, 1500, 4095, 4095};
    ASSERT_EQ(tvr_LUTMassWrite2(kRs232, kPort, kLutRW, kWaitCmd, 3, 1, 0, 3, nodes.data()), 1);
    std::vector<uint16_t> readNodes(20, 0xEEEE);
    uint16_t count = 0;
    ASSERT_EQ(tvr_LUTMassRead2(kRs232, kPort, kLutRW, 0, 3, 1, 0, 0, &count, readNodes.data()), 1);
    EXPECT_EQ(count, 3);
    readNodes.resize(6);
    EXPECT_EQ(readNodes, nodes);

    // Eleven nodes are refused by the camera itself (the library would not send them).
    std::vector<uint8_t> eleven = {3, 1, 11, 0};
    eleven.resize(4 + 44, 0);
    EXPECT_FALSE(sim.Write(kLutRW, eleven));
    EXPECT_EQ(sim.camera.Nodes(3)[0], 3);

    const auto frames = sim.camera.ReceivedFrames();
    // Two chunks, each followed by its status read.
    ASSERT_GE(frames.size(), 4u);
    EXPECT_EQ(frames[0].data[2] | frames[0].data[3] << 8, 100);
    EXPECT_EQ(frames[1].commandId, kWaitCmd);
    EXPECT_EQ(frames[2].data[2] | frames[2].data[3] << 8, 612);
    EXPECT_EQ(frames[2].data[4] | frames[2].data[5] << 8, 488);
}

TEST(TableExchange, CorrectionTablesByKindOnKernel0) {
    SimHarness sim(SampleOptions("LS-8160-4T5500"));
    ASSERT_TRUE(sim.Open());
    const auto prnu = Pattern(300, 11);
    ASSERT_EQ(tvr_FpnPrnuTablesMassWrite(kRs232, kPort, kFpnPrnuWrite, 1, 300, prnu.data()), 1);
    ASSERT_TRUE(sim.WaitForStoredBlock());
    std::vector<uint16_t> read(300);
    ASSERT_EQ(tvr_FpnPrnuTablesMassRead(kRs232, kPort, kFpnPrnuRead, 1, 300, read.data()), 1);
    EXPECT_EQ(read, prnu);
    EXPECT_EQ(sim.camera.Table(TableFamily::kCorrection, kFpnKind, 0, 3),
              (std::vector<uint16_t>{0, 0, 0}));
    // Kind 2 is the image: a ramp over the 8160 pixels of 8 bits.
    std::vector<uint16_t> image(8160);
    ASSERT_EQ(tvr_FpnPrnuTablesMassRead(kRs232, kPort, kFpnPrnuRead, 2, 8160, image.data()), 1);
    EXPECT_EQ(image.front(), 0);
    EXPECT_EQ(image[4080], 127);
    EXPECT_EQ(image.back(), 255);

    // One pixel by kind and entry index; the read answers for the pixel last written.
    ASSERT_EQ(tvr_OnePixelWriteNew(kRs232, kPort, kOnePixel, 0, 500, 0x1234), 1);
    uint16_t value = 0;
    ASSERT_EQ(tvr_OnePixelRead(kRs232, kPort, kOnePixel, 0, 500, &value), 1);
    EXPECT_EQ(value, 0x1234);
    EXPECT_EQ(sim.camera.Table(TableFamily::kCorrection, kFpnKind, 500, 1),
              (std::vector<uint16_t>{0x1234}));
}

TEST(TableExchange, CorrectionChunksAndBadPixelsOnKernel1) {
    SimHarness sim(SampleOptions("LS-4096M12", 1));
    ASSERT_TRUE(sim.Open());
    const auto fpn = Pattern(700, 3);
    ASSERT_EQ(
        tvr_FpnPrnuTablesMassWrite2(kRs232, kPort, kFpnPrnuWrite, kWaitCmd, 0, 10, 700, fpn.data()),
        1);
    std::vector<uint16_t> read(700);
    ASSERT_EQ(tvr_FpnPrnuTablesMassRead2(kRs232, kPort, kFpnPrnuRead, 0, 0, 10, 700, read.data()),
              1);
    EXPECT_EQ(read, fpn);

    // The bad-pixel block of two lists of 8 pairs: N1 = 2 even pairs, N2 = 1 odd pair.
    std::vector<uint8_t> block(68, 0);
    block[0] = 2;
    block[2] = 10;
    block[4] = 11;
    block[6] = 0x20;
    block[7] = 0x01;
    block[34] = 1;
    block[36] = 99;
    ASSERT_TRUE(sim.Write(kBadPixels, block));
    EXPECT_EQ(sim.camera.BadPixels(), block);
    EXPECT_EQ(sim.Read(kBadPixels, 68), block);
}

TEST(TableExchange, LegacyChunksAndOnePixel) {
    SimHarness sim(SampleOptions("LS-8160-4T5500"));
    ASSERT_TRUE(sim.Open());
    // Pixel 4081 (1-based) is tap 4, block 16, position 119: 0-based pixel 4080.
    ASSERT_EQ(tvr_OnePixelWriteOld4T5500(kRs232, kPort, 1, 4081, 77), 1);
    EXPECT_EQ(sim.camera.Table(TableFamily::kCorrection, kPrnuKind, 4080, 1),
              (std::vector<uint16_t>{77}));

    // Table 0, tap 3, block 0, half 1: tap positions 60..119, pixels 8039, 8037, ...
    std::vector<uint8_t> chunk = {0, 3, 0, 1};
    for (int k = 0; k < 60; ++k) {
        chunk.push_back(static_cast<uint8_t>(k + 1));
        chunk.push_back(0x02);
    }
    ASSERT_EQ(tvr_ReadWritePort(kRs232, kPort, 1, 0xC6, 124, chunk.data()), 1);
    EXPECT_EQ(sim.camera.Table(TableFamily::kCorrection, kFpnKind, 8159 - 120, 1),
              (std::vector<uint16_t>{0x0201}));

    // Read it back the legacy way: position, then 0xC5 for 120 bytes (length byte 0xF8).
    std::vector<uint8_t> position = {0, 3, 0, 1};
    ASSERT_EQ(tvr_ReadWritePort(kRs232, kPort, 1, 0xC7, 4, position.data()), 1);
    std::vector<uint8_t> reply(120, 0);
    ASSERT_EQ(tvr_ReadWritePort(kRs232, kPort, 0, 0xC5, 120, reply.data()), 1);
    EXPECT_TRUE(std::equal(chunk.begin() + 4, chunk.end(), reply.begin()));

    // The image chunk at tap 1, block 16, half 1 holds pixels 2*2039-118 .. 2*2039 of the ramp.
    position = {0, 1, 16, 1};
    ASSERT_EQ(tvr_ReadWritePort(kRs232, kPort, 1, 0xC7, 4, position.data()), 1);
    ASSERT_EQ(tvr_ReadWritePort(kRs232, kPort, 0, 0xC8, 120, reply.data()), 1);
    const int lastPixel = 2 * 2039;
    EXPECT_EQ(reply[118] | reply[119] << 8, lastPixel * 255 / 8159);
}

}  // namespace
}  // namespace velterra::sim::test
