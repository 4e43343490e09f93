// "&Open Camera...": what the document does with each outcome of the Open Camera dialog.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"

using namespace velterra;

namespace enginetest {
namespace {

using Kind = Call::Kind;

OpenCameraResult Accepted(int slot, const std::string& model, int32_t baud = 9600) {
    OpenCameraResult result;
    result.accepted = true;
    result.slot = slot;
    result.modelName = model;
    result.baudRate = baud;
    return result;
}

class OpenCameraTest : public ::testing::Test {
  protected:
    ScratchConfig config;
    EngineFixture f{config.Path()};
    CVelterraDoc& doc = f.doc;
    ScriptedCamera& camera = f.camera;
    RecordingUi& ui = f.ui;
    RecordingView& view = f.view;

    void SetUp() override { doc.PortIndex = -1; }

    // Connects Alpha on slot 6 and forgets what that recorded.
    void ConnectAlpha() {
        ui.dialogResult = Accepted(6, "Alpha");
        doc.OnOpenCamera();
        ASSERT_EQ(doc.BlockCount, 1);
        camera.ClearCalls();
        ui.events.clear();
        ui.messages.clear();
        view.updates.clear();
    }
    const CommandInfo* TableCommand() const {
        return doc.Blocks.empty() ? nullptr : doc.Blocks[0].Rows[0].Command.get();
    }
};

TEST_F(OpenCameraTest, CancelWithoutPortChangesNothing) {
    doc.PortType = 0;
    doc.OnOpenCamera();
    EXPECT_EQ(ui.events, (std::vector<std::string>{"dialog"}));
    EXPECT_EQ(view.Hints(), (std::vector<int>{5}));
    EXPECT_TRUE(camera.Calls().empty());
    EXPECT_EQ(doc.PortIndex, -1);
    EXPECT_EQ(doc.PortType, 0);
    EXPECT_EQ(doc.BaudRate, 9600);
}

TEST_F(OpenCameraTest, NewConnectionLoadsTheModelTableMenusTitleAndStarts) {
    ui.dialogResult = Accepted(6, "Alpha", 19200);
    ui.dialogResult.kernel = 0;
    camera.values[0x50] = {1};
    doc.OnOpenCamera();

    EXPECT_EQ(doc.BaudRate, 19200);
    EXPECT_EQ(doc.PortIndex, 6);
    EXPECT_EQ(doc.PortType, 1);
    EXPECT_EQ(doc.ModelName, "Alpha");
    EXPECT_EQ(doc.CommandFilePath, config.Path() + "/alpha.ini");
    ASSERT_EQ(doc.BlockCount, 1);
    EXPECT_EQ(doc.Blocks[0].DisplayName, "Block A");
    EXPECT_EQ(TableCommand()->ValueText, "On");
    EXPECT_EQ(doc.GetTitle(), "COM1");
    EXPECT_TRUE(doc.IsModified());  // the refresh read values
    EXPECT_EQ(ui.events, (std::vector<std::string>{"dialog", "reset menus", "basic alpha.mdb",
                                                   "advanced alpha.mdb", "password alpha.mdb",
                                                   "timer 750", "wait on", "wait off"}));
    // 5 first, 4 closes the LUT editor, 3 (empty) clears the log on load, 1 the values, 2 last.
    EXPECT_EQ(view.Hints(), (std::vector<int>{5, 4, 3, 1, 2}));
    const auto calls = camera.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, Kind::Command);
    EXPECT_EQ(calls[0].command, 0x8F);
    EXPECT_EQ(calls[0].index, 0);
    EXPECT_EQ(calls[1].command, 0x50);
}

TEST_F(OpenCameraTest, SameSlotAndModelOnlyRestartsTheConnection) {
    ConnectAlpha();
    doc.Blocks[0].Rows[0].Command->ValueText = "same table";
    camera.failingReads = {0x50};  // keeps the text of the table it reads into
    doc.SetTitle("kept");
    doc.PortType = 0;
    ui.dialogResult = Accepted(6, "Alpha", 57600);
    doc.OnOpenCamera();
    EXPECT_EQ(TableCommand()->ValueText, "same table");
    EXPECT_EQ(doc.GetTitle(), "kept");
    EXPECT_EQ(doc.PortType, 1);
    EXPECT_EQ(doc.BaudRate, 57600);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"dialog", "timer 750", "wait on", "wait off"}));
    EXPECT_EQ(view.Hints(), (std::vector<int>{5, 3, 1}));  // the failed read is logged
}

TEST_F(OpenCameraTest, OtherSlotOfTheSameTransportKeepsTheTable) {
    ConnectAlpha();
    doc.Blocks[0].Rows[0].Command->ValueText = "same table";
    doc.SetModifiedFlag(true);
    camera.commandResult = 0;  // silent there: no refresh marks the document modified again
    ui.dialogResult = Accepted(8, "Alpha");
    doc.OnOpenCamera();
    EXPECT_EQ(doc.PortIndex, 8);
    EXPECT_EQ(TableCommand()->ValueText, "same table");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "COM3");
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"Can't communicate with the remote device using COM3!"}));
    EXPECT_EQ(ui.events, (std::vector<std::string>{"dialog", "timer 750"}));
    EXPECT_EQ(view.Hints(), (std::vector<int>{5, 1, 2}));
    EXPECT_EQ(camera.Calls().at(0).index, 2);
}

TEST_F(OpenCameraTest, OtherTransportReloadsTheTableAndMenusButKeepsTheKernel) {
    ConnectAlpha();
    doc.Blocks[0].Rows[0].Command->ValueText = "old table";
    doc.CameraKernel = 1;  // kept through this change
    ui.dialogResult = Accepted(2, "Alpha");
    doc.OnOpenCamera();
    EXPECT_EQ(doc.PortIndex, 2);
    EXPECT_EQ(doc.PortType, 0);
    EXPECT_EQ(doc.CameraKernel, 1);
    ASSERT_NE(TableCommand(), nullptr);
    EXPECT_EQ(TableCommand()->ValueText, "Off");  // read into a freshly loaded table
    EXPECT_EQ(doc.GetTitle(), "clser-2");
    EXPECT_EQ(ui.events, (std::vector<std::string>{"dialog", "reset menus", "basic alpha.mdb",
                                                   "advanced alpha.mdb", "password alpha.mdb",
                                                   "lamp", "wait on", "wait off", "lamp"}));
    EXPECT_EQ(view.Hints(), (std::vector<int>{5, 3, 1, 2}));  // no hint 4 on this path
    EXPECT_EQ(camera.CallsOf(Kind::ReadWrite2).size(), 1u);   // kernel 1 reads, no probe
    EXPECT_TRUE(camera.CallsOf(Kind::Command).empty());
}

TEST_F(OpenCameraTest, OtherModelReplacesTheTable) {
    ConnectAlpha();
    ui.dialogResult = Accepted(6, "Beta");
    ui.dialogResult.kernel = 0;
    doc.OnOpenCamera();
    EXPECT_EQ(doc.ModelName, "Beta");
    ASSERT_EQ(doc.BlockCount, 1);
    EXPECT_EQ(doc.Blocks[0].DisplayName, "Block B");
    EXPECT_EQ(ui.Count("basic beta.mdb"), 1);
    EXPECT_EQ(view.Hints(), (std::vector<int>{5, 4, 3, 1, 2}));
}

TEST_F(OpenCameraTest, ModelWithoutUsableFileLeavesThePortConnectedWithEmptyTableAndMenus) {
    ConnectAlpha();
    ui.dialogResult = Accepted(7, "Gamma");
    doc.OnOpenCamera();
    EXPECT_EQ(doc.PortIndex, 7);
    EXPECT_EQ(doc.ModelName, "Gamma");
    EXPECT_TRUE(doc.Blocks.empty());
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_EQ(ui.events, (std::vector<std::string>{"dialog", "reset menus"}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(camera.Calls().empty());  // no connection start without a table
    EXPECT_EQ(view.Hints(), (std::vector<int>{5, 4, 2}));
}

TEST_F(OpenCameraTest, CancelAfterThePortWasClosedForgetsTheConnection) {
    ConnectAlpha();
    doc.NoPortText = "RS-232";
    OpenCameraResult closed;
    closed.connectionClosed = true;
    ui.dialogResult = closed;
    doc.OnOpenCamera();
    EXPECT_EQ(doc.PortIndex, -1);
    EXPECT_EQ(doc.ModelName, "");
    EXPECT_TRUE(doc.Blocks.empty());
    EXPECT_EQ(doc.NoPortText, "");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_EQ(ui.events, (std::vector<std::string>{"dialog", "reset menus"}));
    ASSERT_EQ(view.Hints(), (std::vector<int>{5, 4, 2, 1}));
    EXPECT_FALSE(view.updates.back().withBlocks);
}

TEST_F(OpenCameraTest, CancelOtherwiseOnlyTakesThePortTypeFromTheTagAgain) {
    ConnectAlpha();
    doc.PortType = 0;  // the dialog probed a Camera Link port meanwhile
    ui.dialogResult = OpenCameraResult{};
    doc.OnOpenCamera();
    EXPECT_EQ(doc.PortType, 1);
    EXPECT_EQ(doc.PortIndex, 6);
    EXPECT_EQ(doc.BlockCount, 1);
    EXPECT_TRUE(camera.Calls().empty());
    EXPECT_EQ(view.Hints(), (std::vector<int>{5}));
}

}  // namespace
}  // namespace enginetest
