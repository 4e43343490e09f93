// Identification and parameter exchanges through the real protocol library.
#include <gtest/gtest.h>

#include <cstring>

#include "SimHarness.h"

namespace velterra::sim::test {
namespace {

// Sample configuration: model LS-4096M12, model text command 0x90 with 16 bytes.
constexpr uint8_t kModelCommand = 0x90;
constexpr uint8_t kModelLength = 16;

struct Identified {
    int32_t result = 0;
    uint8_t kernel = 0xFF;
    char text[64] = {};
};

Identified Identify(int32_t reopen) {
    Identified out;
    out.result = tvr_GetModelInformation(kRs232, kPort, 9600, kModelCommand, kModelLength,
                                         &out.kernel, out.text, reopen);
    return out;
}

TEST(ParameterExchange, ModelTextIdentifiesEachKernel) {
    {
        SimHarness sim(SampleOptions("LS-4096M12", 0));
        const Identified id = Identify(0);
        EXPECT_EQ(id.result, 1);
        EXPECT_STREQ(id.text, "VLT4096-12-4T");
        EXPECT_EQ(id.kernel, 0);
    }
    {
        // Kernel 1: the short model read still works, the text ends in "M", and the reopened
        // port then talks MB frames with the camera.
        SimHarness sim(SampleOptions("LS-4096M12", 1));
        const Identified id = Identify(1);
        EXPECT_EQ(id.result, 1);
        EXPECT_STREQ(id.text, "VLT4096-12-4TM");
        EXPECT_EQ(id.kernel, 1);
        EXPECT_TRUE(sim.Write(0x16, {0x21}));
        EXPECT_EQ(sim.camera.NumberValue(0x16), 0x21u);
        const auto frames = sim.camera.ReceivedFrames();
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[0].format, FrameFormat::kShort);
        EXPECT_EQ(frames[1].format, FrameFormat::kMb);
    }
}

TEST(ParameterExchange, RoundTripsOfEachKindOnKernel0) {
    SimHarness sim(SampleOptions());
    ASSERT_TRUE(sim.Open());
    // Alive probe.
    EXPECT_EQ(tvr_CommandPort(kRs232, kPort, 0x8F, 1, std::vector<uint8_t>{0}.data()), 1);
    // Number of 3 bytes (line period, 100 .. 1000000): starts at its minimum.
    EXPECT_EQ(sim.Read(0xA6, 3), (std::vector<uint8_t>{100, 0, 0}));
    EXPECT_TRUE(sim.Write(0xA6, {0x40, 0x42, 0x0F}));
    EXPECT_EQ(sim.Read(0xA6, 3), (std::vector<uint8_t>{0x40, 0x42, 0x0F}));
    // List: starts at its first item, takes another item.
    EXPECT_EQ(sim.Read(0xAA, 1), (std::vector<uint8_t>{0x08}));
    EXPECT_TRUE(sim.Write(0xAA, {0x0C}));
    EXPECT_EQ(sim.camera.NumberValue(0xAA), 0x0Cu);
    // Text: starts empty, keeps what was written.
    std::vector<uint8_t> userId(32, 0);
    std::memcpy(userId.data(), "line 7", 6);
    EXPECT_EQ(sim.Read(0x44, 32), std::vector<uint8_t>(32, 0));
    EXPECT_TRUE(sim.Write(0x44, userId));
    EXPECT_EQ(sim.Read(0x44, 32), userId);
}

TEST(ParameterExchange, RefusedWritesLeaveTheValue) {
    SimHarness sim(SampleOptions("LS-4096M12", 1));
    ASSERT_TRUE(sim.Open());
    // Digital gain 0x40 .. 0x3FF.
    EXPECT_FALSE(sim.Write(0x11, {0x3F, 0x00}));  // below the minimum
    EXPECT_FALSE(sim.Write(0x11, {0x00, 0x04}));  // above the maximum
    EXPECT_FALSE(sim.Write(0x11, {0x50}));        // wrong length
    EXPECT_TRUE(sim.Write(0x11, {0xFF, 0x03}));   // the maximum itself
    EXPECT_FALSE(sim.Write(0xA8, {1, 0, 0, 0}));  // read-only line rate
    EXPECT_FALSE(sim.Write(0xAA, {0x09}));        // no such list item
    EXPECT_FALSE(sim.Write(0x7E, {0x01}));        // no such command
    EXPECT_EQ(sim.camera.NumberValue(0x11), 0x3FFu);
    EXPECT_EQ(sim.camera.NumberValue(0xA8), 0u);
    EXPECT_EQ(sim.camera.NumberValue(0xAA), 0x08u);
    EXPECT_EQ(sim.Read(0x11, 2), (std::vector<uint8_t>{0xFF, 0x03}));
}

}  // namespace
}  // namespace velterra::sim::test
