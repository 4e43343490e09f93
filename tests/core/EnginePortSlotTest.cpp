#include <gtest/gtest.h>

#include "core/PortSlot.h"

using namespace velterra;

namespace {

TEST(PortSlot, NamesNumbersAndTransportsOfTheTenSlots) {
    EXPECT_EQ(PortSlot::Name(7), "COM2");
    EXPECT_EQ(PortSlot::PortNumber(7), 1);
    EXPECT_EQ(PortSlot::Name(3), "clser-3");
    EXPECT_EQ(PortSlot::PortNumber(3), 3);
    EXPECT_EQ(PortSlot::Name(6), "COM1");
    EXPECT_EQ(PortSlot::PortNumber(6), 0);
    EXPECT_EQ(PortSlot::TransportOf(5), PortSlot::kCameraLink);
    EXPECT_EQ(PortSlot::TransportOf(6), PortSlot::kRs232);
    EXPECT_EQ(PortSlot::Name(-1), "");
    EXPECT_EQ(PortSlot::Name(10), "");
}

TEST(PortSlot, TypedPortNamesNameExactlyTheTenSlots) {
    for (int slot = 0; slot < PortSlot::kCount; ++slot) {
        EXPECT_EQ(PortSlot::Parse(PortSlot::Name(slot)), slot);
    }
    EXPECT_EQ(PortSlot::Parse("com3"), 8);
    EXPECT_EQ(PortSlot::Parse("CLSER-2"), 2);
    for (const char* bad : {"COM0", "COM5", "COM10", "COM01", "COM", "clser-6", "clser-",
                            "clser-1x", "ttyS0", "", "COM1 "}) {
        EXPECT_FALSE(PortSlot::Parse(bad).has_value()) << bad;
    }
}

}  // namespace
