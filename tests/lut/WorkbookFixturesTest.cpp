// The workbook files made outside the program (.xls through xlwt, .xlsx through openpyxl) read
// as each was made to.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "WorkbookTestSupport.h"
#include "lut/LutTexts.h"
#include "lut/LutWorkbook.h"

using namespace velterra;

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct Read {
    bool ok = false;
    bool isColor = false;
    int16_t bits = 0;
    int taps = 0;
    std::vector<uint16_t> lut, counts, nodes;
    RecordingUi ui;
};

void ReadFixture(const std::string& name, Read& r) {
    r.ok = ReadLutWorkbook(r.ui, WorkbookFixture(name), r.isColor, r.bits, r.taps, r.lut, &r.counts,
                           &r.nodes);
}

bool IsIdentity(const std::vector<uint16_t>& lut, size_t start, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (lut[start + i] != i) return false;
    return true;
}

TEST(WorkbookFixtures, MonoSingleTapXls) {
    Read r;
    ReadFixture("mono8_1tap.xls", r);
    ASSERT_TRUE(r.ok);
    EXPECT_THAT(r.ui.messages, IsEmpty());
    EXPECT_FALSE(r.isColor);
    EXPECT_EQ(r.bits, 8);
    EXPECT_EQ(r.taps, 1);
    ASSERT_EQ(r.lut.size(), 256u);
    EXPECT_TRUE(IsIdentity(r.lut, 0, 256));
    EXPECT_THAT(r.counts, IsEmpty());  // not a V2 workbook
    EXPECT_THAT(r.nodes, IsEmpty());
}

TEST(WorkbookFixtures, Mono12BitFourTapsWithNodesXlsx) {
    Read r;
    ReadFixture("mono12_4tap_v2.xlsx", r);  // A2 holds "MONO"
    ASSERT_TRUE(r.ok) << (r.ui.messages.empty() ? "" : r.ui.messages[0]);
    EXPECT_FALSE(r.isColor);
    EXPECT_EQ(r.bits, 12);
    EXPECT_EQ(r.taps, 4);
    ASSERT_EQ(r.lut.size(), 4u * 4096);
    // Tap 1 is a 0.5 gamma curve, tap 2 the identity, tap 3 a 2.0 gamma, tap 4 reversed.
    EXPECT_EQ(r.lut[1], 64);
    EXPECT_EQ(r.lut[1024], 2048);
    EXPECT_EQ(r.lut[4000], 4047);
    EXPECT_TRUE(IsIdentity(r.lut, 4096, 4096));
    EXPECT_EQ(r.lut[2 * 4096 + 2048], 1024);
    EXPECT_EQ(r.lut[2 * 4096 + 4094], 4093);
    EXPECT_EQ(r.lut[3 * 4096], 4095);
    EXPECT_EQ(r.lut[4 * 4096 - 1], 0);
    // Tap 3's count cell holds 11 and tap 4's 0: neither has nodes, and no message is shown.
    EXPECT_THAT(r.counts, ElementsAre(2, 3, 0, 0));
    EXPECT_THAT(r.nodes, ElementsAre(0, 0, 4095, 4095, 0, 0, 2048, 3000, 4095, 4095));
    EXPECT_THAT(r.ui.messages, IsEmpty());
}

TEST(WorkbookFixtures, ColourIgnoresJunkDepthAndTaps) {
    Read r;
    ReadFixture("color_v2.xls", r);  // A3 "junk", A4 7
    ASSERT_TRUE(r.ok) << (r.ui.messages.empty() ? "" : r.ui.messages[0]);
    EXPECT_TRUE(r.isColor);
    EXPECT_EQ(r.bits, 8);
    EXPECT_EQ(r.taps, 3);
    ASSERT_EQ(r.lut.size(), 3u * 256);
    EXPECT_EQ(r.lut[1], 21);
    EXPECT_EQ(r.lut[128], 187);
    EXPECT_TRUE(IsIdentity(r.lut, 256, 256));
    EXPECT_EQ(r.lut[512 + 128], 56);
    EXPECT_EQ(r.lut[512 + 254], 253);
    EXPECT_THAT(r.counts, ElementsAre(2, 2, 4));
    EXPECT_THAT(r.nodes,
                ElementsAre(0, 0, 255, 255, 0, 10, 255, 200, 0, 0, 64, 100, 128, 180, 255, 255));
}

TEST(WorkbookFixtures, FractionTruncatesTowardZero) {
    Read r;
    ReadFixture("ok_value_255_9.xlsx", r);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.lut[5], 255);
    EXPECT_EQ(r.lut[6], 6);
}

struct Refused {
    const char* file;
    const char* message;
};

class WorkbookFixturesRefused : public ::testing::TestWithParam<Refused> {};

TEST_P(WorkbookFixturesRefused, ShowsTheMessageAndGivesNothing) {
    Read r;
    r.bits = 77;
    r.lut = {1, 2, 3};
    ReadFixture(GetParam().file, r);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.ui.messages, ElementsAre(GetParam().message));
    EXPECT_EQ(r.bits, 77);
    EXPECT_THAT(r.lut, ElementsAre(1, 2, 3));
}

INSTANTIATE_TEST_SUITE_P(
    All, WorkbookFixturesRefused,
    ::testing::Values(Refused{"bad_leading_space_mono.xls", LutTexts::kInvalidFixedText},
                      Refused{"bad_fixed_text.xls", LutTexts::kInvalidFixedText},
                      Refused{"bad_bits_odd.xlsx", LutTexts::kInvalidBitDepth},
                      Refused{"bad_taps_text.xls", LutTexts::kInvalidTapsNumber},
                      Refused{"bad_value_256.xlsx", LutTexts::kInvalidValue}),
    [](const auto& info) {
        std::string name = info.param.file;
        for (char& c : name)
            if (!isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

}  // namespace
