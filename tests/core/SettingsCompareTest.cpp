// The connected camera against a settings file, and chosen differences written back, on the
// scripted camera: what is read, what counts as different, what reaches the wire.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "SettingsFileTestSupport.h"
#include "core/SettingsCompare.h"

using namespace velterra;
using namespace enginetest;
using namespace settingstest;
using Outcome = SettingsCompare::Comparison::Outcome;

namespace {

class SettingsCompareTest : public ::testing::Test {
  protected:
    SettingsCompareTest() { fx.doc.ModelName = "M"; }

    void Table(std::vector<RowInfo> rows) {
        std::vector<BlockInfo> blocks;
        blocks.push_back(Block("Gain", std::move(rows)));
        SetTable(fx.doc, std::move(blocks));
    }
    std::string File(const std::string& bytes) {
        const std::string path = testing::TempDir() + "compare_test.vlt";
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::vector<Call> Writes() const {
        std::vector<Call> writes;
        for (const Call& call : fx.camera.Calls())
            if (call.write) writes.push_back(call);
        return writes;
    }

    EngineFixture fx;
};

TEST_F(SettingsCompareTest, ReadsTheFilesWritableParametersAndListsEachDifference) {
    std::vector<RowInfo> rows;
    rows.push_back(Row("Gain", Number(0x21, 2, 0, 1000)));
    rows.push_back(Row("Name", Text(0x44, 4)));
    rows.push_back(Row("Mode", List(0x30, {{0, "Off"}, {2, "Checker"}})));
    rows.push_back(Row("Pattern", List(0x31, {{0, "Off"}, {1, "On"}})));
    rows.push_back(Row("Wide", Number(0x22, 6, 0, 0xFFFFFFFF)));
    rows.push_back(Row("Fixed", Number(0x23, 1, 0, 255, /*writable=*/false)));
    rows.push_back(Row("Missing", Number(0x24, 1, 0, 255)));
    rows.push_back(Row("Broken", Number(0x25, 1, 0, 255)));
    rows.push_back(Row("Range", Number(0x26, 1, 5, 100)));
    Table(std::move(rows));
    fx.camera.values = {{0x21, {0xE8, 0x03}}, {0x44, TextBytes("ABCD")},  {0x30, {2}},
                        {0x31, {1}},          {0x22, {5, 0, 0, 0, 0, 0}}, {0x26, {200}}};
    fx.camera.failingReads = {0x25};
    const std::string path =
        File(Header("M") + FileBytes({0x21, 2, 100, 0}) +
             // a text longer than the parameter: only what a write would send counts
             FileBytes({0x44, 6, 'A', 'B', 'C', 'D', 'E', 'F'}) +
             // the later record of an id is the file's value
             FileBytes({0x30, 1, 0, 0x30, 1, 2}) + FileBytes({0x31, 1, 7}) +
             FileBytes({0x22, 6, 5, 0, 0, 0, 0, 0}) + FileBytes({0x23, 1, 9, 0x25, 1, 1}) +
             FileBytes({0x26, 1, 50, 0x77, 1, 1, 0x27, 65}) + std::string(65, 'x') +
             FileBytes({0x21, 2, 1}));  // ends inside a record

    const auto result = SettingsCompare::CompareWithFile(fx.doc, path);
    EXPECT_EQ(result.outcome, Outcome::kCompared);
    std::vector<std::string> found;
    for (const auto& d : result.differences) {
        found.push_back(d.parameterName + ": " + d.fileValue + " / " + d.cameraValue +
                        (d.writable ? "" : " (not writable)"));
    }
    EXPECT_EQ(found, (std::vector<std::string>{"Gain: 100 / 1000",
                                               "Pattern: [no item 7] / On (not writable)",
                                               "Range: 50 / [N/A]"}));
    EXPECT_EQ(result.compared, 6);
    EXPECT_EQ(result.unreadable, std::vector<std::string>{"Gain/Broken"});
    EXPECT_EQ(result.notInFile, std::vector<std::string>{"Gain/Missing"});
    EXPECT_EQ(result.unknownRecords, 2);  // 0x23 is read-only, 0x77 is no parameter
    EXPECT_EQ(result.tooLong, 1);
    EXPECT_TRUE(result.truncated);
    EXPECT_FALSE(result.Complete());
    // Only the writable parameters the file holds were read; nothing was written.
    std::vector<int> read;
    for (const Call& call : fx.camera.Calls()) {
        EXPECT_EQ(call.write, 0);
        read.push_back(call.command);
    }
    EXPECT_EQ(read, (std::vector<int>{0x21, 0x44, 0x30, 0x31, 0x22, 0x25, 0x26}));
    const auto log = fx.view.Messages();
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "Comparing [0x27] of compare_test.vlt (value of 65 bytes, 64 at most) "
                        "is skipped!"),
              log.end());
    EXPECT_EQ(fx.ui.Count("wait on"), 1);
    EXPECT_FALSE(fx.doc.Busy);

    // Writing the chosen differences, each once in table order: the list value that names no
    // item is logged, not sent.
    fx.view.updates.clear();
    const auto report = SettingsCompare::WriteDifferences(fx.doc, result, {2, 0, 1, 0, 99});
    EXPECT_EQ(report.written, 2);
    EXPECT_EQ(report.failed, 1);
    const auto writes = Writes();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].command, 0x21);
    EXPECT_EQ(writes[0].data, (Bytes{100, 0}));
    EXPECT_EQ(writes[1].command, 0x26);
    EXPECT_EQ(writes[1].data, (Bytes{50}));
    EXPECT_EQ(fx.view.Messages(),
              std::vector<std::string>{"Writing [Gain]->[Pattern] to COM2 from compare_test.vlt is "
                                       "skipped: the file's value names no item of the list!"});
}

TEST_F(SettingsCompareTest, RefusesWithoutReadingWhatIsNotAFileOfTheConnectedCamera) {
    std::vector<RowInfo> rows;
    rows.push_back(Row("Gain", Number(0x21, 2, 0, 1000)));
    Table(std::move(rows));
    struct Case {
        std::string name;
        std::function<std::string()> file;
        int port;
        Outcome outcome;
        std::string box;
    };
    const std::string record = FileBytes({0x21, 2, 1, 0});
    const Case cases[] = {
        {"old tag", [&] { return File("VLT_2_4\nM\n" + record); }, 7, Outcome::kWrongFormat,
         "This file isn't the format for Velterra V2.5 and below!"},
        {"other model", [&] { return File(Header("LS-2048C") + record); }, 7,
         Outcome::kModelMismatch,
         "Model information is mismatched!\r\n(Read file: LS-2048C; Current connection: M)"},
        {"no file", [] { return testing::TempDir() + "no_such.vlt"; }, 7, Outcome::kCannotOpen,
         "Can't open the file " + testing::TempDir() + "no_such.vlt!"},
        {"no camera", [&] { return File(Header("M") + record); }, -1, Outcome::kNotConnected,
         "No camera is connected! Open a camera to compare it with a settings file."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fx.ui.messages.clear();
        fx.doc.PortIndex = c.port;
        const auto result = SettingsCompare::CompareWithFile(fx.doc, c.file());
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(fx.ui.messages, std::vector<std::string>{c.box});
        EXPECT_FALSE(result.Same());
    }
    EXPECT_TRUE(fx.camera.Calls().empty());
}

TEST_F(SettingsCompareTest, WritesStopAtAnotherCameraAtSilenceAndAtACancel) {
    std::vector<RowInfo> rows;
    std::string records;
    for (int i = 0; i < 5; ++i) {
        rows.push_back(Row("P" + std::to_string(i), Number(0x40 + i, 1, 0, 255)));
        records += FileBytes({0x40 + i, 1, 9});
    }
    Table(std::move(rows));
    const std::string path = File(Header("M") + records);
    const auto all = SettingsCompare::CompareWithFile(fx.doc, path);
    ASSERT_EQ(all.differences.size(), 5u);  // the camera holds zeros
    EXPECT_FALSE(all.Same());
    const std::vector<std::size_t> every = {0, 1, 2, 3, 4};

    // The table of another model: nothing is sent, each choice is logged.
    fx.view.updates.clear();
    fx.doc.ModelName = "N";
    auto report = SettingsCompare::WriteDifferences(fx.doc, all, every);
    EXPECT_EQ(report.failed, 5);
    EXPECT_EQ(fx.view.Messages().size(), 5u);
    EXPECT_TRUE(Writes().empty());
    fx.doc.ModelName = "M";

    // A camera that refuses every write: after three failures in a row the rest are not tried.
    fx.camera.failingWrites = {0x40, 0x41, 0x42, 0x43, 0x44};
    report = SettingsCompare::WriteDifferences(fx.doc, all, every);
    EXPECT_EQ(report.written, 0);
    EXPECT_EQ(report.failed, 5);
    EXPECT_EQ(Writes().size(), 3u);

    // A cancel between two parameters keeps what was done.
    fx.camera.failingWrites.clear();
    report = SettingsCompare::WriteDifferences(fx.doc, all, every,
                                               [](int done, int) { return done < 2; });
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(report.written, 2);
    const auto cancelled =
        SettingsCompare::CompareWithFile(fx.doc, path, [](int done, int) { return done < 4; });
    EXPECT_EQ(cancelled.outcome, Outcome::kCancelled);
    EXPECT_EQ(cancelled.compared, 4);
    EXPECT_EQ(cancelled.differences.size(), 2u);  // P0 and P1 now hold the file's 9
}

}  // namespace
