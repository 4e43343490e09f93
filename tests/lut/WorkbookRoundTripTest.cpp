// LUT workbooks written to .xlsx files and read back give the same LUT, for every geometry.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "WorkbookTestSupport.h"
#include "lut/LutTexts.h"
#include "lut/LutWorkbook.h"

using namespace velterra;

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

struct Geometry {
    int bits;
    int taps;
};

class WorkbookRoundTrip : public ::testing::TestWithParam<Geometry> {};

TEST_P(WorkbookRoundTrip, FileGivesBackTheLutAndNodes) {
    const int bits = GetParam().bits, taps = GetParam().taps, n = 1 << bits;
    std::vector<uint16_t> lut(static_cast<size_t>(taps) * n);
    uint32_t seed = static_cast<uint32_t>(bits * 31 + taps);
    for (auto& v : lut) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<uint16_t>((seed >> 8) % n);
    }
    lut[0] = 0;
    lut[n - 1] = static_cast<uint16_t>(n - 1);
    std::vector<uint16_t> counts, nodes;
    for (int t = 0; t < taps; ++t) {
        int count = (t * 3 + bits) % 11;  // 0 to 10 nodes
        counts.push_back(static_cast<uint16_t>(count));
        for (int i = 0; i < count; ++i) {
            nodes.push_back(static_cast<uint16_t>(i * (n - 1) / 9 % n));
            nodes.push_back(static_cast<uint16_t>((n - 1 - i * 7) % n));
        }
    }

    ScratchDir dir;
    for (bool withNodes : {false, true}) {
        SCOPED_TRACE(withNodes ? "with nodes" : "without nodes");
        RecordingUi ui;
        auto file = dir / (withNodes ? "v2.xlsx" : "v1.xlsx");
        ASSERT_TRUE(WriteLutWorkbook(ui, file, false, static_cast<int16_t>(bits), taps, lut,
                                     withNodes ? &counts : nullptr, withNodes ? &nodes : nullptr));
        bool isColor = true;
        int16_t readBits = 0;
        int readTaps = 0;
        std::vector<uint16_t> readLut, readCounts, readNodes;
        ASSERT_TRUE(ReadLutWorkbook(ui, file, isColor, readBits, readTaps, readLut, &readCounts,
                                    &readNodes));
        EXPECT_THAT(ui.messages, IsEmpty());
        EXPECT_FALSE(isColor);
        EXPECT_EQ(readBits, bits);
        EXPECT_EQ(readTaps, taps);
        EXPECT_TRUE(readLut == lut);
        EXPECT_EQ(readCounts, withNodes ? counts : std::vector<uint16_t>{});
        EXPECT_EQ(readNodes, withNodes ? nodes : std::vector<uint16_t>{});
    }
}

std::vector<Geometry> AllGeometries() {
    std::vector<Geometry> all;
    for (int bits : {8, 10, 12, 14})
        for (int taps = 1; taps <= 4; ++taps) all.push_back({bits, taps});
    return all;
}

INSTANTIATE_TEST_SUITE_P(Mono, WorkbookRoundTrip, ::testing::ValuesIn(AllGeometries()),
                         [](const auto& info) {
                             return std::to_string(info.param.bits) + "bits_" +
                                    std::to_string(info.param.taps) + "taps";
                         });

TEST(WorkbookFiles, ColourRoundTripAndContentDecidesTheFormat) {
    std::vector<uint16_t> lut(768);
    for (size_t i = 0; i < lut.size(); ++i) lut[i] = static_cast<uint16_t>(255 - i % 256);
    std::vector<uint16_t> counts{2, 2, 2}, nodes{0, 0, 255, 255, 0, 1, 254, 255, 3, 4, 5, 6};
    ScratchDir dir;
    RecordingUi ui;
    auto file = dir / "named-like-old.xls";  // written as .xlsx whatever the name says
    ASSERT_TRUE(WriteLutWorkbook(ui, file, true, 8, 3, lut, &counts, &nodes));
    bool isColor = false;
    int16_t bits = 0;
    int taps = 0;
    std::vector<uint16_t> readLut, readCounts, readNodes;
    ASSERT_TRUE(ReadLutWorkbook(ui, file, isColor, bits, taps, readLut, &readCounts, &readNodes));
    EXPECT_TRUE(isColor);
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(taps, 3);
    EXPECT_EQ(readLut, lut);
    EXPECT_EQ(readCounts, counts);
    EXPECT_EQ(readNodes, nodes);
}

TEST(WorkbookFiles, SavingOverAnExistingFileReplacesItAndLeavesNoLitter) {
    ScratchDir dir;
    auto file = dir / "lut.xlsx";
    std::ofstream(file) << "old content";
    RecordingUi ui;
    std::vector<uint16_t> lut(256);
    ASSERT_TRUE(WriteLutWorkbook(ui, file, false, 8, 1, lut));
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1u);
    bool isColor;
    int16_t bits;
    int taps;
    std::vector<uint16_t> readLut;
    EXPECT_TRUE(ReadLutWorkbook(ui, file, isColor, bits, taps, readLut));
}

TEST(WorkbookFiles, FileProblemsNameTheFile) {
    ScratchDir dir;
    auto message = [](const std::filesystem::path& file) {
        RecordingUi ui;
        bool isColor = false;
        int16_t bits = 5;
        int taps = 0;
        std::vector<uint16_t> lut;
        EXPECT_FALSE(ReadLutWorkbook(ui, file, isColor, bits, taps, lut));
        EXPECT_EQ(bits, 5);
        return ui.messages.size() == 1 ? ui.messages[0] : "not exactly one message";
    };
    auto missing = dir / "missing.xlsx";
    EXPECT_EQ(message(missing),
              "Couldn't open the LUT file \"" + missing.string() + "\": No such file or directory");
    std::ofstream(dir / "notes.xls") << "Tavrin NX LUT\nMono\n8\n1\n";
    EXPECT_EQ(message(dir / "notes.xls"), "Couldn't open the LUT file \"" +
                                              (dir / "notes.xls").string() +
                                              "\": it is not an Excel workbook (.xlsx or .xls)");
    std::ofstream(dir / "empty.xlsx").flush();
    EXPECT_THAT(message(dir / "empty.xlsx"), HasSubstr("not an Excel workbook"));
    std::ofstream(dir / "cut.xlsx") << "PK\x03\x04 the rest is missing";
    EXPECT_THAT(message(dir / "cut.xlsx"), HasSubstr("\"" + (dir / "cut.xlsx").string() + "\""));
    std::ofstream(dir / "cut.xls") << "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 the rest is missing";
    EXPECT_THAT(message(dir / "cut.xls"), HasSubstr("the workbook is damaged"));
    EXPECT_THAT(message(dir.path()), HasSubstr("is not a regular file"));

    RecordingUi ui;
    std::vector<uint16_t> lut(256);
    auto nowhere = dir / "no-such-folder" / "lut.xlsx";
    EXPECT_FALSE(WriteLutWorkbook(ui, nowhere, false, 8, 1, lut));
    EXPECT_THAT(ui.messages, ElementsAre("Couldn't save the LUT file \"" + nowhere.string() +
                                         "\": No such file or directory"));
}

}  // namespace
