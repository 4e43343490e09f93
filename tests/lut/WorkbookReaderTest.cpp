// Validation and value rules of the LUT workbook reader, on sheets built in memory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "WorkbookTestSupport.h"
#include "lut/LutTexts.h"
#include "lut/LutWorkbook.h"

using namespace velterra;

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// A valid mono workbook: identity LUT in columns C.. for the given geometry.
Worksheet MonoSheet(int bits, int taps, const char* fixedText = LutTexts::kWorkbookFixedText) {
    Worksheet sheet;
    sheet.SetText("A1", fixedText);
    sheet.SetText("A2", "Mono");
    sheet.SetNumber("A3", bits);
    sheet.SetNumber("A4", taps);
    const int n = 1 << bits;
    for (int t = 0; t < taps; ++t)
        for (int i = 0; i < n; ++i)
            sheet.SetNumber(std::string(1, "CDEF"[t]) + std::to_string(i + 1), i);
    return sheet;
}

struct Result {
    bool ok = false;
    bool isColor = false;
    int16_t bits = 0;
    int taps = 0;
    std::vector<uint16_t> lut, counts, nodes;
    RecordingUi ui;
};

Result Read(const Worksheet& sheet, bool wantVectors = true) {
    Result r;
    r.ok = ReadLutWorkbook(r.ui, sheet, r.isColor, r.bits, r.taps, r.lut,
                           wantVectors ? &r.counts : nullptr, wantVectors ? &r.nodes : nullptr);
    return r;
}

// The single message a refused sheet showed ("" when it was accepted).
std::string Refusal(const Worksheet& sheet) {
    Result r = Read(sheet);
    if (r.ok) return r.ui.messages.empty() ? "" : "accepted with a message";
    return r.ui.messages.size() == 1 ? r.ui.messages[0] : "not exactly one message";
}

TEST(WorkbookReaderFixedTexts, FirstCellMustBeOneOfTheTwoTextsExactly) {
    EXPECT_EQ(Refusal(MonoSheet(8, 1, "Tavrin NX LUT")), "");
    EXPECT_EQ(Refusal(MonoSheet(8, 1, "Tavrin NX LUT V2")), "");
    for (const char* bad : {"tavrin nx lut", "Tavrin NX LUT ", " Tavrin NX LUT", "Tavrin NX LUT V3",
                            "TAVRIN NX LUT V2", ""})
        EXPECT_EQ(Refusal(MonoSheet(8, 1, bad)), LutTexts::kInvalidFixedText) << '"' << bad << '"';
    Worksheet number = MonoSheet(8, 1);
    number.SetNumber("A1", 1);
    EXPECT_EQ(Refusal(number), LutTexts::kInvalidFixedText);
    // Workbook messages are plain boxes: text and an OK button, no icon.
    Result r = Read(MonoSheet(8, 1, "Tavrin"));
    EXPECT_THAT(r.ui.kinds, ElementsAre(MessageKind::Plain));
}

TEST(WorkbookReaderFixedTexts, ModeIsCaseInsensitiveButNotTrimmed) {
    for (const char* good : {"Mono", "MONO", "mono", "mOnO"}) {
        Worksheet sheet = MonoSheet(8, 1);
        sheet.SetText("A2", good);
        Result r = Read(sheet);
        EXPECT_TRUE(r.ok) << good;
        EXPECT_FALSE(r.isColor);
    }
    for (const char* bad : {" mono", "mono ", "Monochrome", "Colour", ""}) {
        Worksheet sheet = MonoSheet(8, 1);
        sheet.SetText("A2", bad);
        EXPECT_EQ(Refusal(sheet), LutTexts::kInvalidFixedText) << '"' << bad << '"';
    }
}

TEST(WorkbookReaderGeometry, MonoBitDepthMustBeAnEvenNumberFrom8To14) {
    for (double bad : {6.0, 7.0, 9.0, 15.0, 16.0, -8.0, 0.0, 65544.0}) {
        Worksheet sheet = MonoSheet(8, 1);
        sheet.SetNumber("A3", bad);
        EXPECT_EQ(Refusal(sheet), LutTexts::kInvalidBitDepth) << bad;
    }
    Worksheet text = MonoSheet(8, 1);
    text.SetText("A3", "8");  // a number as text is not a number
    EXPECT_EQ(Refusal(text), LutTexts::kInvalidBitDepth);
    Worksheet empty = MonoSheet(8, 1);
    empty.Set(3, 0, {});
    EXPECT_EQ(Refusal(empty), LutTexts::kInvalidBitDepth);

    Worksheet fraction = MonoSheet(10, 1);
    fraction.SetNumber("A3", 10.9);  // truncated to 10
    Result r = Read(fraction);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bits, 10);
    EXPECT_EQ(r.lut.size(), 1024u);
}

TEST(WorkbookReaderGeometry, MonoTapsMustBeANumberFrom1To4) {
    Worksheet text = MonoSheet(8, 1);
    text.SetText("A4", "four");
    EXPECT_EQ(Refusal(text), LutTexts::kInvalidTapsNumber);
    for (double bad : {0.0, 0.9, 5.0, -1.0, 65537.0}) {
        Worksheet sheet = MonoSheet(8, 4);
        sheet.SetNumber("A4", bad);
        EXPECT_EQ(Refusal(sheet), LutTexts::kInvalidTapsNumber) << bad;
    }
    Worksheet fraction = MonoSheet(8, 2);
    fraction.SetNumber("A4", 2.9);
    Result r = Read(fraction);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.taps, 2);
    EXPECT_EQ(r.lut.size(), 512u);
}

TEST(WorkbookReaderGeometry, SingleTapReadsOnlyColumnC) {
    Worksheet sheet = MonoSheet(8, 1);
    sheet.SetText("D1", "junk");
    sheet.SetNumber("D2", 99999);
    Result r = Read(sheet);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.lut.size(), 256u);
}

TEST(WorkbookReaderGeometry, ColourIsAlways8BitsAnd3TapsWhateverA3AndA4Hold) {
    Worksheet sheet = MonoSheet(8, 3);
    sheet.SetText("A2", "COLOR");
    sheet.SetNumber("A3", 16);
    sheet.SetNumber("A4", 1);
    sheet.SetText("F1", "not read");
    sheet.SetNumber("E256", 17);
    Result r = Read(sheet);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.isColor);
    EXPECT_EQ(r.bits, 8);
    EXPECT_EQ(r.taps, 3);
    ASSERT_EQ(r.lut.size(), 768u);
    EXPECT_EQ(r.lut[767], 17);

    sheet.SetText("A3", "junk");
    sheet.Set(4, 0, {});
    EXPECT_TRUE(Read(sheet).ok);
}

TEST(WorkbookReaderValues, NumbersAreTruncatedAndMustFitTheDepth) {
    auto readC6 = [](const Worksheet::Cell& cell) {
        Worksheet sheet = MonoSheet(8, 1);
        sheet.Set(6, 2, cell);
        Result r = Read(sheet);
        return r.ok ? std::to_string(r.lut[5]) : r.ui.messages.at(0);
    };
    EXPECT_EQ(readC6(255.9), "255");
    EXPECT_EQ(readC6(-0.5), "0");  // truncated toward zero, so still in range
    EXPECT_EQ(readC6(256.0), LutTexts::kInvalidValue);
    EXPECT_EQ(readC6(-1.0), LutTexts::kInvalidValue);
    EXPECT_EQ(readC6(65536.0 + 5), LutTexts::kInvalidValue);  // never wrapped to 5
    EXPECT_EQ(readC6(std::string("100")), LutTexts::kInvalidValue);
    EXPECT_EQ(readC6(Worksheet::Cell{}), LutTexts::kInvalidValue);
}

TEST(WorkbookReaderValues, EveryTapColumnIsCheckedUpToItsLastRow) {
    Worksheet sheet = MonoSheet(12, 4);
    sheet.SetNumber("F4096", 4096);
    EXPECT_EQ(Refusal(sheet), LutTexts::kInvalidValue);
    sheet.SetNumber("F4096", 4095);
    sheet.Set(4096, 4, {});  // E4096 missing
    EXPECT_EQ(Refusal(sheet), LutTexts::kInvalidValue);
}

// V2 sheet of 8 bits and 2 taps with node cells filled by the test.
Worksheet V2Sheet() {
    return MonoSheet(8, 2, LutTexts::kWorkbookFixedTextV2);
}

TEST(WorkbookReaderVectors, NodesArePackedTapAfterTap) {
    Worksheet sheet = MonoSheet(8, 4, LutTexts::kWorkbookFixedTextV2);
    sheet.SetNumber("G1", 1);
    sheet.SetNumber("G2", 10);
    sheet.SetNumber("H2", 11);
    sheet.SetNumber("I1", 0);  // tap 2 has none, and leaves no gap
    sheet.SetNumber("K1", 2);
    sheet.SetNumber("K2", 30);
    sheet.SetNumber("L2", 31);
    sheet.SetNumber("K3", 32);
    sheet.SetNumber("L3", 33);
    sheet.SetNumber("K4", 99);  // below the count: not read
    sheet.SetNumber("M1", 1);
    sheet.SetNumber("M2", 40);
    sheet.SetNumber("N2", 41);
    Result r = Read(sheet);
    ASSERT_TRUE(r.ok);
    EXPECT_THAT(r.counts, ElementsAre(1, 0, 2, 1));
    EXPECT_THAT(r.nodes, ElementsAre(10, 11, 30, 31, 32, 33, 40, 41));
}

TEST(WorkbookReaderVectors, BadCountsGiveNoNodesWithoutAMessage) {
    auto countOf = [](const Worksheet::Cell& cell) {
        Worksheet sheet = V2Sheet();
        sheet.Set(1, 6, cell);  // G1
        for (int row = 2; row <= 12; ++row) {
            sheet.SetNumber("G" + std::to_string(row), row);
            sheet.SetNumber("H" + std::to_string(row), row);
        }
        Result r = Read(sheet);
        EXPECT_TRUE(r.ok);
        EXPECT_THAT(r.ui.messages, IsEmpty());
        EXPECT_EQ(r.nodes.size(), 2u * r.counts.at(0));
        return static_cast<int>(r.counts.at(0));
    };
    EXPECT_EQ(countOf(11.0), 0);
    EXPECT_EQ(countOf(0.0), 0);
    EXPECT_EQ(countOf(-1.0), 0);
    EXPECT_EQ(countOf(std::string("3")), 0);
    EXPECT_EQ(countOf(Worksheet::Cell{}), 0);
    EXPECT_EQ(countOf(65537.0), 0);
    EXPECT_EQ(countOf(10.0), 10);
    EXPECT_EQ(countOf(10.7), 10);
    EXPECT_EQ(countOf(1.9), 1);
}

TEST(WorkbookReaderVectors, BadNodeValuesBecomeZero) {
    Worksheet sheet = V2Sheet();
    sheet.SetNumber("I1", 4);
    sheet.SetNumber("I2", 300);  // beyond 255
    sheet.SetNumber("J2", 5);
    sheet.SetText("I3", "x");
    sheet.SetNumber("J3", 9);
    sheet.SetNumber("I4", 254.8);
    sheet.SetNumber("J4", -3);
    // I5/J5 empty
    Result r = Read(sheet);
    ASSERT_TRUE(r.ok);
    EXPECT_THAT(r.ui.messages, IsEmpty());
    EXPECT_THAT(r.counts, ElementsAre(0, 4));
    EXPECT_THAT(r.nodes, ElementsAre(0, 5, 0, 9, 254, 0, 0, 0));
}

TEST(WorkbookReaderVectors, ReadOnlyFromV2AndOnlyWhenBothOutputsAreWanted) {
    Worksheet sheet = V2Sheet();
    sheet.SetNumber("G1", 1);

    Result lutOnly = Read(sheet, false);
    ASSERT_TRUE(lutOnly.ok);
    EXPECT_EQ(lutOnly.lut.size(), 512u);

    RecordingUi ui;
    bool isColor;
    int16_t bits;
    int taps;
    std::vector<uint16_t> lut, counts{7, 7};
    ASSERT_TRUE(ReadLutWorkbook(ui, sheet, isColor, bits, taps, lut, &counts, nullptr));
    EXPECT_THAT(counts, IsEmpty());

    Worksheet v1 = sheet;
    v1.SetText("A1", LutTexts::kWorkbookFixedText);
    Result r = Read(v1);
    ASSERT_TRUE(r.ok);
    EXPECT_THAT(r.counts, IsEmpty());
    EXPECT_THAT(r.nodes, IsEmpty());
}

}  // namespace
