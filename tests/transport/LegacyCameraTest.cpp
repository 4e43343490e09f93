// The legacy camera's pixel map: the one-pixel address of a pixel and the table position that
// holds it must name the same pixel, or a one-pixel write lands where a table read does not
// show it.
#include <gtest/gtest.h>

#include "LegacyCamera.h"

namespace legacy = velterra::codec::legacy;

namespace {

TEST(LegacyCamera, EveryPixelsAddressLeadsBackToItAndNothingOutsideTheSensorHasOne) {
    // Taps 1 and 2 run up from the left end, taps 3 and 4 down from the right end.
    EXPECT_EQ(legacy::PixelIndexOf(1, 0), 0);
    EXPECT_EQ(legacy::PixelIndexOf(2, 2039), 4079);
    EXPECT_EQ(legacy::PixelIndexOf(3, 0), 8159);
    EXPECT_EQ(legacy::PixelIndexOf(4, 2039), 4080);
    for (int pixel = 1; pixel <= legacy::kPixels; ++pixel) {
        const auto where = legacy::MapPixel(pixel);
        ASSERT_TRUE(where) << pixel;
        const auto index =
            legacy::PixelIndexOf(where->tap, where->block * legacy::kBlockLength + where->position);
        ASSERT_EQ(index, pixel - 1) << "pixel " << pixel;
    }
    for (int pixel : {0, -1, legacy::kPixels + 1}) EXPECT_FALSE(legacy::MapPixel(pixel)) << pixel;
    struct Outside {
        int tap, position;
    };
    for (const auto& [tap, position] :
         {Outside{0, 0}, Outside{5, 0}, Outside{1, -1}, Outside{4, legacy::kPixelsPerTap}}) {
        EXPECT_FALSE(legacy::PixelIndexOf(tap, position)) << tap << "/" << position;
    }
}

}  // namespace
