#include <gtest/gtest.h>

#include <chrono>

#include "SettingsFileTestSupport.h"
#include "core/SettingsTexts.h"

using namespace velterra;

using namespace enginetest;
using namespace settingstest;
using Outcome = SettingsFile::LoadReport::Outcome;

namespace {

// A connected document of model "M" (slot 7, COM2) with a small table:
// block "Gain": 0x21 number (2 bytes, 0..1000), 0x44 text (6), 0x30 list Off/Checker,
//               0x50 number (1 byte), 0x50 read-only number (1 byte)
// block "Out":  0x50 list without items, 0x50 number (1 byte)
class SettingsLoad : public ::testing::Test {
  protected:
    SettingsLoad() {
        fx.doc.ModelName = "M";
        std::vector<RowInfo> gain;
        gain.push_back(Row("Gain", Number(0x21, 2, 0, 1000)));
        gain.push_back(Row("Name", Text(0x44, 6)));
        gain.push_back(Row("Mode", List(0x30, {{0, "Off"}, {2, "Checker"}})));
        gain.push_back(Row("Shared", Number(0x50, 1, 0, 255)));
        gain.push_back(Row("SharedRO", Number(0x50, 1, 0, 255, /*writable=*/false)));
        std::vector<RowInfo> out;
        out.push_back(Row("Empty list", List(0x60, {})));
        out.push_back(Row("After empty", Number(0x60, 1, 0, 255)));
        std::vector<BlockInfo> blocks;
        blocks.push_back(Block("Gain", std::move(gain)));
        blocks.push_back(Block("Out", std::move(out)));
        SetTable(fx.doc, std::move(blocks));
        for (auto& block : fx.doc.Blocks)
            for (auto& row : block.Rows) row.Command->ValueText = "old";
    }

    std::string Value(std::size_t block, std::size_t row) {
        return CommandAt(fx.doc, block, row).ValueText;
    }

    EngineFixture fx;
};

TEST_F(SettingsLoad, AnyFirstLineButTheTagShowsTheFormatMessageAndChangesNothing) {
    for (const std::string& first :
         std::vector<std::string>{"VLT_2_4", "vlt_2_5", "VLT_2_5 ", "", "VLT_2_5\r\r"}) {
        fx.ui.messages.clear();
        fx.view.updates.clear();
        const auto report = LoadFromString(fx.doc, first + "\nM\n" + FileBytes({0x21, 2, 1, 0}));
        EXPECT_EQ(report.outcome, Outcome::kWrongFormat) << first;
        EXPECT_EQ(fx.ui.messages, std::vector<std::string>{
                                      "This file isn't the format for Velterra V2.5 and below!"});
        EXPECT_TRUE(fx.view.updates.empty());
    }
    EXPECT_EQ(Value(0, 0), "old");
    EXPECT_TRUE(fx.camera.Calls().empty());
    EXPECT_EQ(fx.ui.Count("timer 750"), 0);
}

TEST_F(SettingsLoad, AnotherModelWhileConnectedNamesBothModelsAndChangesNothing) {
    const auto report = LoadFromString(fx.doc, Header("LS-2048C") + FileBytes({0x21, 2, 1, 0}));
    EXPECT_EQ(report.outcome, Outcome::kModelMismatch);
    EXPECT_EQ(
        fx.ui.messages,
        std::vector<std::string>{
            "Model information is mismatched!\r\n(Read file: LS-2048C; Current connection: M)"});
    EXPECT_EQ(Value(0, 0), "old");
    EXPECT_TRUE(fx.camera.Calls().empty());
    EXPECT_TRUE(fx.ui.events.empty());
    // Model names compare exactly.
    LoadFromString(fx.doc, Header("m"));
    EXPECT_EQ(fx.ui.messages.size(), 2u);
}

TEST_F(SettingsLoad, SameModelWritesEveryMatchingRowIntoTheCameraWithPauses) {
    fx.camera.failingWrites = {0x44};
    const auto start = std::chrono::steady_clock::now();
    const auto report =
        LoadFromString(fx.doc, "VLT_2_5\r\nM\r\n" + FileBytes({0x21, 2, 0x2C, 0x01}) +
                                   FileBytes({0x44, 6, 'A', 'B', 'C', 0, 0, 0}) +
                                   FileBytes({0x30, 1, 2}) + FileBytes({0x50, 1, 9}));
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(report.outcome, Outcome::kLoaded);
    EXPECT_EQ(report.records, 4);
    EXPECT_EQ(report.applied, 5);  // 0x50 matches two rows
    EXPECT_EQ(report.writesFailed, 1);
    EXPECT_TRUE(fx.ui.messages.empty());
    EXPECT_EQ(Value(0, 0), "300");
    EXPECT_EQ(Value(0, 1), "ABC");
    EXPECT_EQ(Value(0, 2), "Checker");
    EXPECT_EQ(Value(0, 3), "9");
    EXPECT_EQ(Value(0, 4), "9");  // read-only: shown, never sent

    const auto writes = fx.camera.CallsOf(Call::Kind::ReadWrite);
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[0].command, 0x21);
    EXPECT_EQ(writes[0].data, (Bytes{0x2C, 0x01}));
    EXPECT_EQ(writes[1].command, 0x44);
    EXPECT_EQ(writes[1].data, (Bytes{'A', 'B', 'C', 0, 0, 0}));
    EXPECT_EQ(writes[2].data, Bytes{2});
    EXPECT_EQ(writes[3].command, 0x50);
    EXPECT_EQ(writes[3].data, Bytes{9});
    for (const Call& call : writes) {
        EXPECT_EQ(call.write, 1);
        EXPECT_EQ(call.type, 1);  // COM2
        EXPECT_EQ(call.index, 1);
    }
    EXPECT_GE(elapsed, std::chrono::milliseconds(5 * SettingsFile::kWritePauseMs));

    EXPECT_EQ(fx.view.Messages(),
              std::vector<std::string>{"Writing [Gain]->[Name] to COM2 (string [ABC]) is failed!"});
    EXPECT_EQ(fx.ui.events, (std::vector<std::string>{"timer 750", "wait on", "wait off"}));
    ASSERT_FALSE(fx.view.updates.empty());
    EXPECT_EQ(fx.view.updates.back().hint, 1);
    EXPECT_TRUE(fx.view.updates.back().withBlocks);
}

TEST_F(SettingsLoad, RecordLengthsReshapeValueParameters) {
    const auto report =
        LoadFromString(fx.doc, Header("M") + FileBytes({0x21, 6, 'A', 'B', 'C', 'D', 'E', 'F'}) +
                                   FileBytes({0x44, 3, 'x', 0, 'y'}) + FileBytes({0x50, 0}));
    EXPECT_EQ(report.applied, 4);
    const CommandInfo& became = CommandAt(fx.doc, 0, 0);
    EXPECT_EQ(became.CharLength, 6);
    EXPECT_NE(became.PureTextValue, 0);
    EXPECT_EQ(became.ValueText, "ABCDEF");
    EXPECT_EQ(fx.camera.CallsOf(Call::Kind::ReadWrite).front().data, TextBytes("ABCDEF"));
    // A text stays text at any length, and ends at its first zero byte.
    EXPECT_EQ(CommandAt(fx.doc, 0, 1).CharLength, 3);
    EXPECT_NE(CommandAt(fx.doc, 0, 1).PureTextValue, 0);
    EXPECT_EQ(Value(0, 1), "x");
    // No value bytes: a number of length 0.
    EXPECT_EQ(CommandAt(fx.doc, 0, 3).CharLength, 0);
    EXPECT_EQ(Value(0, 3), "0");

    LoadFromString(fx.doc, Header("M") + FileBytes({0x50, 3, 0x01, 0x02, 0x03}));
    EXPECT_EQ(CommandAt(fx.doc, 0, 3).CharLength, 3);
    EXPECT_EQ(CommandAt(fx.doc, 0, 3).PureTextValue, 0);
    EXPECT_EQ(Value(0, 3), "197121");  // 0x030201
}

TEST_F(SettingsLoad, ListRecords) {
    // A byte that names no item, or no byte at all, keeps the list's text.
    LoadFromString(fx.doc, Header("M") + FileBytes({0x30, 1, 7}));
    EXPECT_EQ(Value(0, 2), "old");
    LoadFromString(fx.doc, Header("M") + FileBytes({0x30, 0, 0x30, 1, 0}));
    EXPECT_EQ(Value(0, 2), "Off");
    // A list without items ends the record: the rows after it are not matched.
    fx.camera.ClearCalls();
    const auto report = LoadFromString(fx.doc, Header("M") + FileBytes({0x60, 1, 5}));
    EXPECT_EQ(report.applied, 0);
    EXPECT_EQ(Value(1, 0), "old");
    EXPECT_EQ(Value(1, 1), "old");
    EXPECT_TRUE(fx.camera.Calls().empty());
}

TEST_F(SettingsLoad, OverLongRecordsAreSkippedAndLoggedOnceEachLongTextsCut) {
    std::string file = Header("M") + FileBytes({0x21, 65}) + std::string(65, 'z') +
                       FileBytes({0x50, 1, 4}) + FileBytes({0x44, 64}) + std::string(64, 'q');
    const auto report = LoadFromString(fx.doc, file, "cam.vlt");
    EXPECT_EQ(report.outcome, Outcome::kLoaded);
    EXPECT_EQ(report.tooLong, 1);
    EXPECT_EQ(fx.view.Messages(),
              std::vector<std::string>{
                  "Loading [0x21] from cam.vlt (value of 65 bytes, 64 at most) is skipped!"});
    EXPECT_EQ(Value(0, 0), "old");
    EXPECT_EQ(CommandAt(fx.doc, 0, 0).CharLength, 2);
    EXPECT_EQ(Value(0, 3), "4");
    EXPECT_EQ(Value(0, 1), std::string(63, 'q'));
    EXPECT_EQ(CommandAt(fx.doc, 0, 1).CharLength, 64);
    for (const Call& call : fx.camera.CallsOf(Call::Kind::ReadWrite)) EXPECT_NE(call.command, 0x21);

    // The largest length byte, and a record of unknown id, change nothing else.
    fx.view.updates.clear();
    LoadFromString(fx.doc, Header("M") + FileBytes({0x77, 255}) + std::string(255, '\xff') +
                               FileBytes({0x99, 1, 1}) + FileBytes({0x50, 1, 8}));
    EXPECT_EQ(fx.view.Messages().size(), 1u);
    EXPECT_EQ(Value(0, 3), "8");
}

TEST_F(SettingsLoad, AFileEndingInsideARecordAppliesTheRecordsBeforeIt) {
    for (const std::string& tail :
         {FileBytes({0x21, 2, 0x05}), FileBytes({0x21}), FileBytes({0x21, 70, 1})}) {
        CommandAt(fx.doc, 0, 0).ValueText = "old";
        fx.ui.messages.clear();
        const auto report = LoadFromString(fx.doc, Header("M") + FileBytes({0x50, 1, 3}) + tail);
        EXPECT_EQ(report.outcome, Outcome::kLoaded);
        EXPECT_TRUE(report.truncated);
        EXPECT_EQ(report.records, 1);
        EXPECT_EQ(Value(0, 3), "3");
        EXPECT_EQ(Value(0, 0), "old");
        EXPECT_TRUE(fx.ui.messages.empty());
    }
    EXPECT_TRUE(fx.view.Messages().empty());
}

TEST_F(SettingsLoad, ConnectedWithoutATableStopsAfterTheModelCheck) {
    fx.doc.FreeCommandTable();
    const auto report = LoadFromString(fx.doc, Header("M") + FileBytes({0x21, 2, 1, 0}));
    EXPECT_EQ(report.outcome, Outcome::kNoTable);
    EXPECT_EQ(fx.ui.events, (std::vector<std::string>{"timer 750", "wait on", "wait off"}));
    EXPECT_TRUE(fx.camera.Calls().empty());
}

// Without a camera the file's model is loaded from the configuration folder.
class SettingsLoadWithoutCamera : public ::testing::Test {
  protected:
    SettingsLoadWithoutCamera() { fx.doc.PortIndex = -1; }
    EngineFixture fx;
};

TEST_F(SettingsLoadWithoutCamera, LoadsTheModelsTableAndMenusWithoutCameraTraffic) {
    fx.doc.NoPortText = "none";
    const auto report = LoadFromString(
        fx.doc, Header("LS-4096M12") + FileBytes({0x11, 2, 100, 0}) + FileBytes({0xA0, 1, 2}) +
                    FileBytes({0x44, 5, 'l', 'i', 'n', 'e', '1'}) + FileBytes({0x43, 1, 99}));
    EXPECT_EQ(report.outcome, Outcome::kLoaded);
    EXPECT_EQ(fx.doc.ModelName, "LS-4096M12");
    EXPECT_EQ(fx.doc.NoPortText, "");
    EXPECT_TRUE(fx.doc.ConfigLoaded);
    ASSERT_EQ(fx.doc.Blocks.size(), 6u);
    EXPECT_EQ(CommandAt(fx.doc, 1, 1).ValueText, "100");       // Digital Gain
    EXPECT_EQ(CommandAt(fx.doc, 0, 0).ValueText, "External");  // Trigger Source
    EXPECT_EQ(CommandAt(fx.doc, 4, 4).ValueText, "line1");     // Device User ID
    EXPECT_EQ(CommandAt(fx.doc, 4, 4).CharLength, 5);
    EXPECT_EQ(CommandAt(fx.doc, 4, 3).ValueText, "99");  // read-only rows load too
    EXPECT_TRUE(fx.camera.Calls().empty());
    EXPECT_EQ(fx.ui.events,
              (std::vector<std::string>{"reset menus", "basic default_menu.mdb",
                                        "advanced default_menu.mdb", "password default_menu.mdb",
                                        "wait on", "wait off"}));
    const std::vector<int> hints = fx.view.Hints();
    ASSERT_GE(hints.size(), 2u);
    EXPECT_EQ(hints[hints.size() - 2], 2);
    EXPECT_EQ(hints.back(), 1);
}

TEST_F(SettingsLoadWithoutCamera, AModelMissingFromTheModelTableChangesNothing) {
    SetTable(fx.doc, {});
    fx.doc.Blocks.push_back(Block("Kept", {}));
    fx.doc.ModelName = "LS-2048C";
    fx.doc.CommandFilePath = "/somewhere/LS2048C.ini";
    const auto report = LoadFromString(fx.doc, Header("LS-9999") + FileBytes({0x11, 2, 1, 0}));
    EXPECT_EQ(report.outcome, Outcome::kUnknownModel);
    EXPECT_EQ(fx.ui.messages, std::vector<std::string>{
                                  "Model information isn't in INI files!\r\n(Read file: LS-9999)"});
    EXPECT_EQ(fx.doc.ModelName, "LS-2048C");
    EXPECT_EQ(fx.doc.CommandFilePath, "/somewhere/LS2048C.ini");
    ASSERT_EQ(fx.doc.Blocks.size(), 1u);
    EXPECT_EQ(fx.doc.Blocks[0].DisplayName, "Kept");
    EXPECT_TRUE(fx.ui.events.empty());

    // A file that is only the tag names the empty model.
    fx.ui.messages.clear();
    EXPECT_EQ(LoadFromString(fx.doc, "VLT_2_5").outcome, Outcome::kUnknownModel);
    EXPECT_EQ(fx.ui.messages,
              std::vector<std::string>{"Model information isn't in INI files!\r\n(Read file: )"});
}

TEST_F(SettingsLoadWithoutCamera, StoreAndLoadGiveBackTheSameFile) {
    const std::string file =
        Header("LS-2048C") + FileBytes({0x61, 2, 0x34, 0x12}) + FileBytes({0x60, 1, 1});
    ASSERT_EQ(LoadFromString(fx.doc, file).outcome, Outcome::kLoaded);
    const std::string stored = StoreToString(fx.doc);
    CVelterraDoc other(VELTERRA_CONFIG_DIR);
    ASSERT_EQ(LoadFromString(other, stored).outcome, Outcome::kLoaded);
    EXPECT_EQ(StoreToString(other), stored);
    EXPECT_NE(stored.find(FileBytes({0x61, 2, 0x34, 0x12})), std::string::npos);
}

}  // namespace
