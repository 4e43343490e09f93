// Damaged .xls containers are refused before the workbook library sees them: each case breaks one
// structure of a small workbook written by another program.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "WorkbookTestSupport.h"
#include "lut/BiffSheet.h"
#include "lut/CompoundFileCheck.h"
#include "lut/LutTexts.h"
#include "lut/WorkbookFile.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& fixture) {
    std::ifstream in(WorkbookFixture(fixture), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// mono8_1tap.xls: 512-byte sectors, the table in sector 24, the directory in sector 25 (root
// entry, then "Workbook" in sectors 0 to 23).
constexpr std::size_t kFat = 25 * 512;
constexpr std::size_t kRoot = 26 * 512;
constexpr std::size_t kWorkbook = kRoot + 128;

struct Damage {
    const char* what;
    std::size_t at;
    std::vector<uint8_t> bytes;  // written at `at`; none: the file ends at `at`
};

TEST(CompoundFileCheck, EachDamagedStructureIsRefused) {
    for (const char* sound : {"mono8_1tap.xls", "color_v2.xls", "bad_taps_text.xls"})
        EXPECT_TRUE(CompoundFileLooksSound(Bytes(sound))) << sound;

    const Damage cases[] = {
        {"shorter than the header", 511, {}},
        {"signature", 0, {0}},
        {"byte order mark", 0x1C, {0xFF, 0xFE}},
        {"sector size 1024 in version 3", 0x1E, {10}},
        {"mini stream cut-off", 0x38, {0, 0x20}},
        {"no table sector", 0x2C, {0}},
        {"table sector past the end", 0x4C, {0xFF}},
        {"directory in the workbook's first sector", 0x30, {0, 0, 0, 0}},
        {"directory past the end", 0x30, {0xFF, 0xFF}},
        {"workbook chain loops", kFat + 4 * 23, {0, 0, 0, 0}},
        {"workbook larger than its chain", kWorkbook + 0x78, {0x20, 0x4E}},
        {"odd name length", kWorkbook + 0x40, {17}},
        {"name longer than 31 characters", kWorkbook + 0x40, {66}},
        {"name without its ending zero", kWorkbook + 16, {'x'}},
        {"unknown entry type", kWorkbook + 0x42, {7}},
        {"sibling past the directory", kWorkbook + 0x44, {99, 0, 0, 0}},
        {"first entry is not the root", kRoot + 0x42, {2}},
        {"no workbook stream", kWorkbook, {'X'}},
    };
    for (const Damage& damage : cases) {
        std::vector<uint8_t> bytes = Bytes("mono8_1tap.xls");
        if (damage.bytes.empty()) bytes.resize(damage.at);
        std::copy(damage.bytes.begin(), damage.bytes.end(), bytes.begin() + damage.at);
        EXPECT_FALSE(CompoundFileLooksSound(bytes)) << damage.what;
    }
}

// Where the first record of `type` starts in a workbook stream (the stream's size when none).
std::size_t RecordAt(const std::vector<uint8_t>& stream, uint16_t type) {
    std::size_t pos = 0;
    while (pos + 4 <= stream.size()) {
        if ((stream[pos] | (stream[pos + 1] << 8)) == type) return pos;
        pos += 4 + std::size_t(stream[pos + 2] | (stream[pos + 3] << 8));
    }
    return stream.size();
}

TEST(BiffSheet, EachDamagedRecordIsRefusedWithItsReason) {
    std::vector<uint8_t> sound;
    ASSERT_TRUE(ReadCompoundWorkbookStream(Bytes("mono8_1tap.xls"), sound));
    Worksheet sheet;
    std::string error;
    ASSERT_TRUE(ReadBiffWorksheet(sound, sheet, error)) << error;
    EXPECT_EQ(sheet.Text("A1"), LutTexts::kWorkbookFixedText);
    EXPECT_EQ(sheet.Number("C256"), 255);

    const std::size_t sheetEntry = RecordAt(sound, 0x0085) + 4;
    const std::size_t strings = RecordAt(sound, 0x00FC) + 4;
    const std::size_t label = RecordAt(sound, 0x00FD) + 4;
    const std::size_t rk = RecordAt(sound, 0x027E) + 4;
    const struct {
        const char* what;
        std::size_t at;
        std::vector<uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {"not Excel 97", 4, {0x00, 0x05}, LutTexts::kReasonDamaged},
        {"sheet past the stream", sheetEntry, {0xFF, 0xFF, 0xFF}, LutTexts::kReasonDamaged},
        {"more texts than bytes", strings + 4, {0xFF, 0xFF, 0xFF}, LutTexts::kReasonDamaged},
        {"text index past the texts", label + 6, {0xFF, 0xFF}, LutTexts::kReasonDamaged},
        {"cell record cut short", rk - 2, {6, 0}, LutTexts::kReasonDamaged},
        {"record past the stream", rk - 2, {0xFF, 0xFF}, LutTexts::kReasonDamaged},
        {"number that is not one", rk + 6, {0xFC, 0xFF, 0xFF, 0x7F}, LutTexts::kReasonDamaged},
        {"sheet without its end", 0, {}, LutTexts::kReasonDamaged},
    };
    for (const auto& damage : cases) {
        std::vector<uint8_t> stream = sound;
        if (damage.bytes.empty()) stream.resize(rk + 10);
        std::copy(damage.bytes.begin(), damage.bytes.end(), stream.begin() + damage.at);
        sheet.SetNumber("Z1", 1);
        EXPECT_FALSE(ReadBiffWorksheet(stream, sheet, error)) << damage.what;
        EXPECT_EQ(error, damage.reason) << damage.what;
        EXPECT_EQ(sheet.CellCount(), 0u) << damage.what;
    }
    // Every sheet a chart: the workbook has no worksheet.
    std::vector<uint8_t> charts = sound;
    for (std::size_t pos = 0; pos + 4 <= charts.size() && charts[pos] != 0x0A;) {
        if (charts[pos] == 0x85 && charts[pos + 1] == 0) charts[pos + 4 + 5] = 2;
        pos += 4 + std::size_t(charts[pos + 2] | (charts[pos + 3] << 8));
    }
    EXPECT_FALSE(ReadBiffWorksheet(charts, sheet, error));
    EXPECT_EQ(error, LutTexts::kReasonNoWorksheet);
}

// The damage that sent the workbook library past its buffers: the reader says what is wrong.
TEST(CompoundFileCheck, ReaderRefusesADamagedDirectoryWithItsReason) {
    std::vector<uint8_t> bytes = Bytes("mono8_1tap.xls");
    std::fill(bytes.begin() + 0x30, bytes.begin() + 0x34, 0);
    ScratchDir dir;
    std::ofstream(dir / "damaged.xls", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    Worksheet sheet;
    std::string error;
    EXPECT_FALSE(LoadWorksheet(dir / "damaged.xls", sheet, error));
    EXPECT_EQ(error, LutTexts::kReasonDamaged);
    EXPECT_TRUE(LoadWorksheet(WorkbookFixture("mono8_1tap.xls"), sheet, error)) << error;
}

}  // namespace
