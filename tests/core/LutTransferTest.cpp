// LUTs between workbooks and the camera, on a scripted camera behind the protocol table: which
// library calls go out per tap and kernel, what a failed tap shows, and that a failed read
// saves nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "EngineTestSupport.h"
#include "LutScriptedCamera.h"
#include "dataops/LutTransfer.h"
#include "lut/LutWorkbook.h"

using namespace velterra;

namespace {

using namespace enginetest;
namespace fs = std::filesystem;

constexpr uint8_t kLutRW = 0xB0;  // examples/config/Command.ini
constexpr uint8_t kWaitCmd = 0xB1;

class FileUi : public RecordingUi {
  public:
    std::optional<std::string> AskOpenFileName(const FileDialogRequest&) override {
        events.push_back("open dialog");
        return file;
    }
    std::optional<std::string> AskSaveFileName(const FileDialogRequest&) override {
        events.push_back("save dialog");
        return file;
    }
    std::optional<std::string> file;
};

class LutTransferTest : public ::testing::Test {
  protected:
    LutTransferTest() : transfer(fixture.doc) {
        ProtocolApi api = fixture.camera.Api();
        lutCamera.Install(api);
        fixture.doc.SetProtocol(api);
        fixture.doc.SetUserInterface(&ui);
        fixture.doc.ColorCamera = 0;
        dir = fs::temp_directory_path() / ("lut-transfer-" + std::to_string(getpid()));
        fs::create_directories(dir);
        ui.file = (dir / "lut.xlsx").string();
        transfer.SetProgress([this](int done, int total) {
            progress.push_back(std::to_string(done) + "/" + std::to_string(total));
        });
    }
    ~LutTransferTest() override { fs::remove_all(dir); }

    // A mono workbook whose tap t holds entry i = (i * 7 + t) mod 2^bits, and t + 2 nodes.
    void MakeWorkbook(int16_t bits, int taps) {
        const int n = 1 << bits;
        for (int t = 0; t < taps; ++t) {
            for (int i = 0; i < n; ++i) lut.push_back(static_cast<uint16_t>((i * 7 + t) % n));
            counts.push_back(static_cast<uint16_t>(t + 2));
            for (int k = 0; k < t + 2; ++k) {
                nodes.push_back(static_cast<uint16_t>(k * (n - 1) / (t + 1)));
                nodes.push_back(static_cast<uint16_t>(n - 1 - k));
            }
        }
        ASSERT_TRUE(
            WriteLutWorkbook(ui, fs::path(*ui.file), false, bits, taps, lut, &counts, &nodes));
    }
    std::vector<uint16_t> TapNodes(int tap) const {
        size_t offset = 0;
        for (int t = 0; t < tap; ++t) offset += 2 * counts[t];
        return {nodes.begin() + offset, nodes.begin() + offset + 2 * counts[tap]};
    }

    EngineFixture fixture;
    FileUi ui;
    LutCamera lutCamera;
    velterra::LutTransfer transfer;
    fs::path dir;
    std::vector<uint16_t> lut, counts, nodes;
    std::vector<std::string> progress;
};

TEST_F(LutTransferTest, AWorkbookGoesOutTapByTapWithTheKernelsCalls) {
    MakeWorkbook(12, 4);
    for (int kernel : {0, 1}) {
        SCOPED_TRACE(kernel);
        lutCamera.calls.clear();
        progress.clear();
        fixture.doc.CameraKernel = kernel;
        ASSERT_TRUE(transfer.WriteLutFromWorkbook());

        const auto tables = lutCamera.Writes(0);
        ASSERT_EQ(tables.size(), 4u);
        for (int t = 0; t < 4; ++t) {
            EXPECT_EQ(tables[t].tap, t);
            EXPECT_EQ(tables[t].count, 4096);
            EXPECT_EQ(tables[t].kernel1, kernel == 1);
            EXPECT_EQ(tables[t].command, kLutRW);
            EXPECT_EQ(tables[t].wait, kernel == 1 ? kWaitCmd : 0);
            EXPECT_EQ(tables[t].data,
                      std::vector<uint16_t>(lut.begin() + t * 4096, lut.begin() + (t + 1) * 4096));
        }
        // A kernel-0 camera has no nodes: the workbook's are ignored.
        const auto nodeWrites = lutCamera.Writes(1);
        ASSERT_EQ(nodeWrites.size(), kernel == 1 ? 4u : 0u);
        for (size_t t = 0; t < nodeWrites.size(); ++t) {
            EXPECT_EQ(nodeWrites[t].tap, t);
            EXPECT_EQ(nodeWrites[t].count, counts[t]);
            EXPECT_EQ(nodeWrites[t].data, TapNodes(static_cast<int>(t)));
        }
        EXPECT_EQ(progress.back(), kernel == 1 ? "8/8" : "4/4");
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(fixture.doc.Busy);
}

TEST_F(LutTransferTest, AFailedTapWhileWritingIsShownOnceAndTheLaterTapsAreStillWritten) {
    MakeWorkbook(8, 4);
    lutCamera.failingTaps = {1};
    fixture.doc.CameraKernel = 0;
    ui.onLamp = [this] { ui.events.push_back(fixture.doc.Busy ? "busy" : "idle"); };

    EXPECT_FALSE(transfer.WriteLutFromWorkbook());
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"Can't set Tap-2 data of LUT for every scale to camera!"});
    EXPECT_EQ(fixture.view.Messages(),
              std::vector<std::string>{"Sending LUT data of Tap-2 to COM2 is failed!"});
    const auto tables = lutCamera.Writes(0);
    ASSERT_EQ(tables.size(), 4u);
    EXPECT_EQ(tables[2].tap, 2);
    EXPECT_EQ(tables[3].tap, 3);
    EXPECT_EQ(lutCamera.tables.count(3), 1u);
    // The lamp shows busy from before the first tap to after the last.
    EXPECT_EQ(ui.events, (std::vector<std::string>{"open dialog", "wait on", "wait off", "lamp",
                                                   "busy", "wait on", "wait off", "lamp", "idle"}));
}

TEST_F(LutTransferTest, AFailedTapWhileReadingSavesNoWorkbook) {
    fixture.doc.MaxTxUnitBits = 10;
    fixture.doc.TapsNum = 4;
    for (int kernel : {0, 1}) {
        SCOPED_TRACE(kernel);
        fixture.doc.CameraKernel = kernel;
        lutCamera.calls.clear();
        ui.messages.clear();
        ui.events.clear();
        lutCamera.failingTaps = {0};

        EXPECT_FALSE(transfer.ReadLutToWorkbook());
        EXPECT_EQ(ui.messages, std::vector<std::string>{"Can't read LUT from camera!"});
        EXPECT_EQ(fixture.view.Messages().back(), "Reading LUT data of Tap-1 from COM2 is failed!");
        EXPECT_EQ(lutCamera.calls.size(), 1u);  // the first failure ends the read
        EXPECT_EQ(ui.Count("save dialog"), 0);
        EXPECT_FALSE(fs::exists(*ui.file));
        EXPECT_FALSE(fixture.doc.Busy);
    }
}

TEST_F(LutTransferTest, CameraNodesBeyondTenFailTheReadInsteadOfOverrunningTheBuffer) {
    fixture.doc.MaxTxUnitBits = 8;
    fixture.doc.TapsNum = 1;
    fixture.doc.CameraKernel = 1;
    lutCamera.nodes[0] = {0, 0, 255, 255};
    lutCamera.reportedNodeCount = 11;
    EXPECT_FALSE(transfer.ReadLutToWorkbook());
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Can't read LUT from camera!"});
    EXPECT_FALSE(fs::exists(*ui.file));
}

// Every entry of a 14-bit LUT, camera to workbook and back, nodes included; a camera value of
// 32768 or more lands in the workbook as itself, never as a negative number.
TEST_F(LutTransferTest, EveryValueOfA14BitLutSurvivesCameraToWorkbookToCamera) {
    fixture.doc.MaxTxUnitBits = 14;
    fixture.doc.TapsNum = 4;
    fixture.doc.CameraKernel = 1;
    for (int t = 0; t < 4; ++t) {
        std::vector<uint16_t>& table = lutCamera.tables[t];
        for (int i = 0; i < 16384; ++i)
            table.push_back(static_cast<uint16_t>((i + t * 4099) % 16384));
        lutCamera.nodes[t] = {0, 16383, 8191, 9000, 16383, 0};
    }
    const auto original = lutCamera.tables;
    const auto originalNodes = lutCamera.nodes;
    ASSERT_TRUE(transfer.ReadLutToWorkbook());
    EXPECT_EQ(progress.back(), "8/8");

    lutCamera.tables.clear();
    lutCamera.nodes.clear();
    ASSERT_TRUE(transfer.WriteLutFromWorkbook());
    EXPECT_EQ(lutCamera.tables, original);
    EXPECT_EQ(lutCamera.nodes, originalNodes);

    std::vector<uint16_t> high(256, 0);
    high[0] = 32768;
    high[1] = 65535;
    Worksheet sheet;
    ASSERT_TRUE(WriteLutWorkbook(ui, sheet, false, 8, 1, high));
    EXPECT_EQ(sheet.Number("C1"), 32768.0);
    EXPECT_EQ(sheet.Number("C2"), 65535.0);
}

}  // namespace
