// What the LUT workbook writer puts in which cell, and what it refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "WorkbookTestSupport.h"
#include "lut/LutTexts.h"
#include "lut/LutWorkbook.h"

using namespace velterra;

using ::testing::IsEmpty;

namespace {

std::vector<uint16_t> Identity(int n, int taps) {
    std::vector<uint16_t> lut(static_cast<size_t>(n) * taps);
    for (size_t i = 0; i < lut.size(); ++i) lut[i] = static_cast<uint16_t>(i % n);
    return lut;
}

std::set<std::string> CellNames(const Worksheet& sheet) {
    std::set<std::string> names;
    sheet.ForEachCell([&](uint32_t row, uint32_t column, const Worksheet::Cell&) {
        names.insert(Worksheet::CellName(row, column));
    });
    return names;
}

std::set<std::string> Column(char column, int first, int last) {
    std::set<std::string> names;
    for (int row = first; row <= last; ++row) names.insert(column + std::to_string(row));
    return names;
}

TEST(WorkbookWriter, Mono8BitSingleTapWritesTheHeaderAndColumnCOnly) {
    RecordingUi ui;
    Worksheet sheet;
    auto lut = Identity(256, 1);
    lut[255] = 200;
    ASSERT_TRUE(WriteLutWorkbook(ui, sheet, false, 8, 1, lut));
    EXPECT_THAT(ui.messages, IsEmpty());

    auto expected = Column('C', 1, 256);
    expected.insert({"A1", "A2", "A3", "A4"});
    EXPECT_EQ(CellNames(sheet), expected);
    EXPECT_EQ(sheet.At("A1"), Worksheet::Cell(std::string("Tavrin NX LUT")));
    EXPECT_EQ(sheet.At("A2"), Worksheet::Cell(std::string("Mono")));
    EXPECT_EQ(sheet.At("A3"), Worksheet::Cell(8.0));
    EXPECT_EQ(sheet.At("A4"), Worksheet::Cell(1.0));
    EXPECT_EQ(sheet.At("C1"), Worksheet::Cell(0.0));
    EXPECT_EQ(sheet.At("C255"), Worksheet::Cell(254.0));
    EXPECT_EQ(sheet.At("C256"), Worksheet::Cell(200.0));
}

TEST(WorkbookWriter, VectorDataAddsCountAndNodeColumnsAndTheV2Text) {
    RecordingUi ui;
    Worksheet sheet;
    std::vector<uint16_t> counts{2}, nodes{0, 0, 255, 128};
    ASSERT_TRUE(WriteLutWorkbook(ui, sheet, false, 8, 1, Identity(256, 1), &counts, &nodes));

    auto expected = Column('C', 1, 256);
    expected.insert({"A1", "A2", "A3", "A4", "G1", "G2", "H2", "G3", "H3"});
    EXPECT_EQ(CellNames(sheet), expected);
    EXPECT_EQ(sheet.Text("A1"), "Tavrin NX LUT V2");
    EXPECT_EQ(sheet.Number("G1"), 2.0);
    EXPECT_EQ(sheet.Number("G3"), 255.0);
    EXPECT_EQ(sheet.Number("H3"), 128.0);

    // One of the two arrays alone is no vector data.
    Worksheet lutOnly;
    ASSERT_TRUE(WriteLutWorkbook(ui, lutOnly, false, 8, 1, Identity(256, 1), &counts, nullptr));
    EXPECT_EQ(lutOnly.Text("A1"), "Tavrin NX LUT");
    EXPECT_EQ(lutOnly.CellCount(), 260u);
}

TEST(WorkbookWriter, FourTapsUseColumnsCToFAndNodeColumnsGToN) {
    RecordingUi ui;
    Worksheet sheet;
    std::vector<uint16_t> counts{1, 0, 1, 2};
    std::vector<uint16_t> nodes{1, 2, 5, 6, 7, 8, 9, 10};
    ASSERT_TRUE(WriteLutWorkbook(ui, sheet, false, 10, 4, Identity(1024, 4), &counts, &nodes));
    EXPECT_EQ(sheet.Number("F1024"), 1023.0);
    EXPECT_FALSE(sheet.Number("G1025").has_value());
    EXPECT_EQ(sheet.Number("I1"), 0.0);
    EXPECT_FALSE(sheet.Number("I2").has_value());
    EXPECT_EQ(sheet.Number("K2"), 5.0);
    EXPECT_EQ(sheet.Number("L2"), 6.0);
    EXPECT_EQ(sheet.Number("M3"), 9.0);
    EXPECT_EQ(sheet.Number("N3"), 10.0);
}

TEST(WorkbookWriter, ColourIsWrittenAs8BitsAnd3TapsWhateverIsGiven) {
    RecordingUi ui;
    Worksheet sheet;
    ASSERT_TRUE(WriteLutWorkbook(ui, sheet, true, 12, 1, Identity(256, 3)));
    EXPECT_EQ(sheet.Text("A2"), "Color");
    EXPECT_EQ(sheet.Number("A3"), 8.0);
    EXPECT_EQ(sheet.Number("A4"), 3.0);
    EXPECT_EQ(sheet.Number("E256"), 255.0);
    EXPECT_FALSE(sheet.Number("F1").has_value());
    EXPECT_FALSE(sheet.Number("C257").has_value());
    EXPECT_EQ(sheet.CellCount(), 4u + 768u);
}

TEST(WorkbookWriter, RefusesWhatTheWorkbookCannotHold) {
    auto refusal = [](bool color, int bits, int taps, size_t lutSize,
                      const std::vector<uint16_t>* counts = nullptr,
                      const std::vector<uint16_t>* nodes = nullptr) {
        RecordingUi ui;
        Worksheet sheet;
        sheet.SetText("Z9", "kept");
        std::vector<uint16_t> lut(lutSize);
        bool ok = WriteLutWorkbook(ui, sheet, color, static_cast<int16_t>(bits), taps, lut, counts,
                                   nodes);
        EXPECT_EQ(sheet.Text("Z9"), ok ? "" : "kept");  // a refusal leaves the sheet alone
        return ok ? std::string() : ui.messages.at(0);
    };
    for (int bits : {6, 7, 9, 13, 16})
        EXPECT_EQ(refusal(false, bits, 1, 65536), LutTexts::kIncorrectBitDepth) << bits;
    EXPECT_EQ(refusal(false, 8, 0, 2048), LutTexts::kIncorrectTapsNumber);
    EXPECT_EQ(refusal(false, 8, 5, 2048), LutTexts::kIncorrectTapsNumber);
    EXPECT_EQ(refusal(true, 16, 7, 768), "");  // colour takes neither from the caller

    EXPECT_EQ(refusal(false, 10, 2, 2047), LutTexts::kIncompleteLutData);
    EXPECT_EQ(refusal(true, 8, 3, 767), LutTexts::kIncompleteLutData);
    std::vector<uint16_t> counts{2, 3}, nodes(9);
    EXPECT_EQ(refusal(false, 8, 2, 512, &counts, &nodes), LutTexts::kIncompleteLutData);
    std::vector<uint16_t> oneCount{2}, fourNodes(4);
    EXPECT_EQ(refusal(false, 8, 2, 512, &oneCount, &fourNodes), LutTexts::kIncompleteLutData);
    nodes.resize(10);
    EXPECT_EQ(refusal(false, 8, 2, 512, &counts, &nodes), "");
}

}  // namespace
