#include <gtest/gtest.h>

#include "SettingsFileTestSupport.h"
#include "core/SettingsFileRecord.h"

using namespace velterra;

using namespace enginetest;
using namespace settingstest;

TEST(SettingsFileStore, WritesTagModelAndRecordsOfWritableRowsInTableOrder) {
    CVelterraDoc doc("/nonexistent");
    doc.ModelName = "LS-4096M12";
    std::vector<RowInfo> first;
    first.push_back(Row("Gain", Number(0x21, 2, 0, 1000)));
    first.push_back(Row("Name", Text(0x44, 6)));
    first.push_back(Row("Temp", Number(0x43, 1, 0, 125, /*writable=*/false)));
    first.push_back(Row("Unparsed", nullptr));
    std::vector<RowInfo> second;
    second.push_back(Row("Mode", List(0x30, {{0, "Off"}, {2, "Checker"}})));
    second.push_back(Row("Offset", Number(0x16, 1, 0, 255)));
    second.push_back(Row("Trigger", List(0x33, {{0, "Internal"}})));
    SetTable(doc, {});
    doc.Blocks.push_back(Block("One", std::move(first)));
    doc.Blocks.push_back(Block("Two", std::move(second)));
    CommandAt(doc, 0, 0).ValueText = "300";
    CommandAt(doc, 0, 1).ValueText = "ABC";
    CommandAt(doc, 0, 2).ValueText = "40";
    CommandAt(doc, 1, 0).ValueText = "Checker";
    CommandAt(doc, 1, 1).ValueText = "[N/A]";  // stored as 0
    CommandAt(doc, 1, 2).ValueText = "[N/A]";  // names no item: not stored

    EXPECT_EQ(StoreToString(doc), Header("LS-4096M12") + FileBytes({0x21, 0x02, 0x2C, 0x01}) +
                                      FileBytes({0x44, 0x06, 'A', 'B', 'C', 0, 0, 0}) +
                                      FileBytes({0x30, 0x01, 0x02}) +
                                      FileBytes({0x16, 0x01, 0x00}));
}

TEST(SettingsFileStore, ValueEncodingsAtTheirLimits) {
    CommandInfo number = *Number(0x11, 3, 0, 0xFFFFFF);
    number.ValueText = "70000";  // 0x011170
    EXPECT_EQ(EncodeSettingsRecord(number), (std::vector<uint8_t>{0x11, 3, 0x70, 0x11, 0x01}));
    number.ValueText = "12abc";  // leading digits count
    EXPECT_EQ(EncodeSettingsRecord(number), (std::vector<uint8_t>{0x11, 3, 12, 0, 0}));
    CommandInfo wide = *Number(0x12, 4, 0, 0xFFFFFFFF);
    wide.ValueText = "4294967295";  // values above 2^31 are kept whole
    EXPECT_EQ(EncodeSettingsRecord(wide), (std::vector<uint8_t>{0x12, 4, 0xFF, 0xFF, 0xFF, 0xFF}));
    wide.ValueText = "2147483648";
    EXPECT_EQ(EncodeSettingsRecord(wide), (std::vector<uint8_t>{0x12, 4, 0, 0, 0, 0x80}));
    wide.ValueText = "-1";
    EXPECT_EQ(EncodeSettingsRecord(wide), (std::vector<uint8_t>{0x12, 4, 0xFF, 0xFF, 0xFF, 0xFF}));
    number.CharLength = 1;
    number.ValueText = "300";  // the low byte only
    EXPECT_EQ(EncodeSettingsRecord(number), (std::vector<uint8_t>{0x11, 1, 0x2C}));
    number.CharLength = 0;
    EXPECT_EQ(EncodeSettingsRecord(number), (std::vector<uint8_t>{0x11, 0}));

    CommandInfo text = *Text(0x40, 4);
    text.ValueText = "ABCDEFGH";  // cut to the parameter's length
    EXPECT_EQ(EncodeSettingsRecord(text), (std::vector<uint8_t>{0x40, 4, 'A', 'B', 'C', 'D'}));
    text.ValueText.clear();
    EXPECT_EQ(EncodeSettingsRecord(text), (std::vector<uint8_t>{0x40, 4, 0, 0, 0, 0}));

    CommandInfo list = *List(0x30, {{5, "Same"}, {6, "Same"}});
    list.ValueText = "Same";  // the first item of that text
    EXPECT_EQ(EncodeSettingsRecord(list), (std::vector<uint8_t>{0x30, 1, 5}));
    CommandInfo empty = *List(0x31, {});
    empty.ValueText = "";
    EXPECT_FALSE(EncodeSettingsRecord(empty).has_value());
}

TEST(SettingsFileStore, RowsOfASharedCommandAreEachStoredAndRowsPastRowCountAreNot) {
    CVelterraDoc doc("/nonexistent");
    doc.ModelName = "";
    std::vector<RowInfo> rows;
    rows.push_back(Row("A", Number(0x50, 1, 0, 255)));
    rows.push_back(Row("B", Number(0x50, 1, 0, 255)));
    rows.push_back(Row("Hidden", Number(0x51, 1, 0, 255)));
    doc.Blocks.push_back(Block("Block", std::move(rows)));
    doc.Blocks[0].RowCount = 2;
    doc.BlockCount = 1;
    CommandAt(doc, 0, 0).ValueText = "1";
    CommandAt(doc, 0, 1).ValueText = "2";
    CommandAt(doc, 0, 2).ValueText = "3";
    EXPECT_EQ(StoreToString(doc), Header("") + FileBytes({0x50, 1, 1, 0x50, 1, 2}));
}

TEST(SettingsFileStore, NoTableWritesAnEmptyFileAndDisablesSave) {
    CVelterraDoc doc("/nonexistent");
    doc.ModelName = "LS-4096M12";
    EXPECT_EQ(StoreToString(doc), "");
    EXPECT_FALSE(SettingsFile::CanSave(doc));
    doc.Blocks.push_back(Block("Empty", {}));
    EXPECT_TRUE(SettingsFile::CanSave(doc));
}

TEST(SettingsFileCommands, LoadIsDisabledOnlyWhileAConnectedCameraDoesNotAnswer) {
    CVelterraDoc doc("/nonexistent");
    EXPECT_TRUE(SettingsFile::CanLoad(doc));
    doc.NotResponding = true;  // no port: the flag does not count
    EXPECT_TRUE(SettingsFile::CanLoad(doc));
    doc.PortIndex = 0;
    EXPECT_FALSE(SettingsFile::CanLoad(doc));
    doc.NotResponding = false;
    EXPECT_TRUE(SettingsFile::CanLoad(doc));
}
