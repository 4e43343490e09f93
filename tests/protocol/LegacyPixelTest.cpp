// One-pixel writes to the legacy 8160-pixel camera: the pixel number becomes tap, block and
// position within the block.
#include <gtest/gtest.h>

#include <random>

#include "BulkTestCameras.h"
#include "LegacyLayout.h"
#include "velterradll.h"

namespace velterra::test {
namespace {

constexpr uint8_t kOnePixelCommand = 0xC9;

class LegacyPixel : public FakePortTest {
  protected:
    void SetUp() override { OpenShortFrame(); }
};

TEST_F(LegacyPixel, PixelNumbersMapToTapBlockAndPosition) {
    struct Case {
        int pixel;
        Bytes address;  // tap, block, position
    };
    std::vector<Case> cases = {
        {1, {1, 0, 0}}, {4080, {2, 16, 119}}, {4081, {4, 16, 119}}, {8160, {3, 0, 0}}};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> anyPixel(1, 8160);
    for (int i = 0; i < 12; ++i) {
        const int pixel = anyPixel(random);
        const TapSlot slot = TapSlotOfFileIndex(pixel - 1);
        cases.push_back({pixel,
                         {static_cast<uint8_t>(slot.tap), static_cast<uint8_t>(slot.position / 120),
                          static_cast<uint8_t>(slot.position % 120)}});
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        ASSERT_EQ(
            tvr_OnePixelWriteOld4T5500(kRs232, kPort, 1, static_cast<uint16_t>(cases[i].pixel),
                                       static_cast<uint16_t>(0x0100 + i)),
            1);
    }
    const auto frames = short_.Frames();
    ASSERT_EQ(frames.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        Bytes expected = {1};
        expected.insert(expected.end(), cases[i].address.begin(), cases[i].address.end());
        expected.insert(expected.end(), {static_cast<uint8_t>(i), 0x01});
        EXPECT_EQ(frames[i].commandId, kOnePixelCommand);
        EXPECT_FALSE(frames[i].read);
        EXPECT_EQ(frames[i].data, expected) << "pixel " << cases[i].pixel;
    }
}

TEST_F(LegacyPixel, PixelNumbersOutsideTheSensorAreNotSent) {
    EXPECT_EQ(tvr_OnePixelWriteOld4T5500(kRs232, kPort, 0, 0, 5), 0);
    EXPECT_EQ(tvr_OnePixelWriteOld4T5500(kRs232, kPort, 0, 8161, 5), 0);
    EXPECT_EQ(tvr_OnePixelWriteOld4T5500(kRs232, kPort, 0, 0xFFFF, 5), 0);
    ASSERT_EQ(tvr_OnePixelWriteOld4T5500(kRs232, kPort, 0, 2, 5), 1);
    const auto frames = short_.Frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].data, (Bytes{0, 2, 0, 0, 5, 0}));
}

}  // namespace
}  // namespace velterra::test
