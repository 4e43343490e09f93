// The forced one-port mode, the dialog start with the Selection Mode dialog, and the user's
// actions on the port list: open, close, keys, OK and Cancel.
#include "PortScanTestSupport.h"

using namespace velterra;

namespace enginetest {
namespace {

using Kind = Call::Kind;
using Outcome = OpenCameraModel::Outcome;
constexpr int kCom1 = 6, kCom2 = 7, kCom3 = 8, kCom4 = 9;

// A Selection Mode dialog the user fills in by the given steps and confirms with OK; it
// counts its runs and is cancelled once its steps run out.
class ScriptedSelection {
  public:
    using Fill = std::function<void(SelectionMode&)>;
    explicit ScriptedSelection(std::vector<Fill> runs) : runs_(std::move(runs)) {}
    OpenCameraModel::SelectionRunner Runner() {
        return [this](SelectionMode& selection) {
            listSearchedEnabled.push_back(selection.ListSearchedEnabled());
            cards = selection.Cards();
            if (count >= runs_.size()) return false;
            runs_[count++](selection);
            return selection.AcceptSelection();
        };
    }
    std::size_t count = 0;
    std::vector<bool> listSearchedEnabled;
    std::vector<std::string> cards;

  private:
    std::vector<Fill> runs_;
};

ScriptedSelection::Fill Force(int treeItem, int card = 0) {
    return [treeItem, card](SelectionMode& selection) {
        selection.SelectCard(card);
        selection.SelectTreeItem(treeItem);
    };
}

ScriptedSelection::Fill Choose(SelectionMode::Radio radio) {
    return [radio](SelectionMode& selection) { selection.ChooseRadio(radio); };
}

class PortScanActionsTest : public PortScanFixture {};

TEST_F(PortScanActionsTest, ForcedPortIsConnectedAloneAndEndsTheDialog) {
    registry.SetOwner(kCom2, kOtherProcess);
    ScriptedSelection selection({Force(SelectionMode::kCom4Leaf)});

    EXPECT_EQ(model.Start(selection.Runner()), Outcome::Ok);

    EXPECT_EQ(model.Rows(), (std::vector<PortRow>{{"COM4", "Used", "Connected to [Alpha]"}}));
    EXPECT_EQ(model.SelectedRow(), 0);
    EXPECT_EQ(model.Buttons(), (PortButtons{false, true, true}));
    EXPECT_STREQ(model.CancelCaption(), "E&xit");
    EXPECT_EQ(registry.Owner(kCom4), self);
    EXPECT_EQ(table[kCom4].Status, ProbeStatus::kConnected);
    // Every other usable slot is marked failed; the other process's slot is left alone.
    for (int slot = 0; slot < PortSlot::kCount; ++slot) {
        if (slot == kCom4 || slot == kCom2) continue;
        EXPECT_EQ(registry.Owner(slot), PortRegistry::kFailed) << slot;
        EXPECT_EQ(table[slot].Status, ProbeStatus::kNoAnswer) << slot;
    }
    EXPECT_EQ(registry.Owner(kCom2), kOtherProcess);
    EXPECT_EQ(camera.CallsOf(Kind::Open).size(), 1u);  // only the chosen port is opened
    EXPECT_EQ(camera.CallsOf(Kind::Open)[0].baud, 57600u);

    const OpenCameraResult result = model.Result(Outcome::Ok);
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(result.slot, kCom4);
    EXPECT_EQ(result.modelName, "Alpha");
    EXPECT_EQ(result.kernel, 0);
    EXPECT_EQ(result.baudRate, 57600);
    EXPECT_FALSE(doc.FirstScan);
}

TEST_F(PortScanActionsTest, ForcedPortThatFailsShowsTheSelectionModeDialogAgain) {
    // First a port that does not open, then a camera of an unknown model, then the user gives up.
    missing.insert(Port(kCom3));
    ScriptedSelection selection({Force(SelectionMode::kCom3Leaf), Force(SelectionMode::kCom4Leaf)});
    camera.values[0x90] = ModelText("NOPE");

    EXPECT_EQ(model.Start(selection.Runner()), Outcome::Cancel);

    EXPECT_EQ(selection.count, 2u);
    EXPECT_EQ(selection.listSearchedEnabled, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(registry.Owner(kCom3), PortRegistry::kFailed);
    // The unknown camera's port is closed again but stays marked as this process's.
    EXPECT_EQ(registry.Owner(kCom4), self);
    EXPECT_EQ(CallsOn(kCom4, Kind::Close).size(), 1u);
    EXPECT_EQ(model.Rows(), (std::vector<PortRow>{{"COM4", "Used", "None/Busy"}}));
    EXPECT_EQ(model.Buttons(), PortButtons{});
    EXPECT_EQ(ui.messages, (std::vector<std::string>{
                               "Remote device NOPE is ready, but the program can't get the model "
                               "information of this device from the configuration file!"}));
    EXPECT_FALSE(model.Result(Outcome::Cancel).accepted);

    // A failed open leaves the chosen port listed, as failed.
    EXPECT_FALSE(model.ConnectOnePort(kCom3));
    EXPECT_EQ(model.Rows(), (std::vector<PortRow>{{"COM3", "Failed", "None/Busy"}}));
}

TEST_F(PortScanActionsTest, ForcedPortHeldByAnotherProcessIsNotTouched) {
    registry.SetOwner(kCom3, kOtherProcess);
    EXPECT_FALSE(model.ConnectOnePort(kCom3));
    EXPECT_TRUE(CallsOn(kCom3, Kind::Open).empty());
    EXPECT_EQ(registry.Owner(kCom3), kOtherProcess);
    EXPECT_EQ(model.Rows(), (std::vector<PortRow>{{"COM3", "Used by other process", ""}}));
    EXPECT_FALSE(model.ConnectOnePort(10));
    EXPECT_FALSE(model.ConnectOnePort(-1));
}

TEST_F(PortScanActionsTest, StartScansOrListsAsChosenAndTheFirstScanFlagGatesTheList) {
    ScriptedSelection first({Choose(SelectionMode::kSearchAll)});
    EXPECT_EQ(model.Start(first.Runner()), Outcome::Stay);
    EXPECT_EQ(first.listSearchedEnabled, (std::vector<bool>{false}));
    EXPECT_EQ(model.Rows().size(), 10u);
    EXPECT_EQ(model.Data().BaudRate, 57600);
    EXPECT_FALSE(doc.FirstScan);

    // The next dialog offers the list of that scan; listing probes nothing.
    camera.ClearCalls();
    OpenCameraModel next(doc, table);
    ScriptedSelection second({Choose(SelectionMode::kListSearched)});
    EXPECT_EQ(next.Start(second.Runner()), Outcome::Stay);
    EXPECT_EQ(second.listSearchedEnabled, (std::vector<bool>{true}));
    EXPECT_TRUE(next.Data().ListOnly);
    EXPECT_EQ(next.Rows(), model.Rows());
    EXPECT_TRUE(camera.Calls().empty());

    // From inside the dialog the list is never offered; its choice scans again.
    ScriptedSelection button({[](SelectionMode& s) { s.SelectBaud(0); }});
    EXPECT_EQ(next.SelectionModeClicked(button.Runner()), Outcome::Stay);
    EXPECT_EQ(button.listSearchedEnabled, (std::vector<bool>{false}));
    EXPECT_EQ(camera.CallsOf(Kind::Open).size(), 10u);
    EXPECT_EQ(camera.CallsOf(Kind::Open)[0].baud, 9600u);

    // Cancel in the Selection Mode dialog ends the Open Camera dialog at once.
    ScriptedSelection cancelled({});
    EXPECT_EQ(OpenCameraModel(doc, table).Start(cancelled.Runner()), Outcome::Cancel);
}

TEST_F(PortScanActionsTest, SelectionModeButtonCanForceAPortAndEndTheDialog) {
    config.Write("clser.ini", "[DLL]\n0=clsersim.dll\n1=clserabc.dll\n");
    model.ScanPorts();
    ScriptedSelection button({Force(SelectionMode::kPort1Leaf, 1)});
    EXPECT_EQ(model.SelectionModeClicked(button.Runner()), Outcome::Ok);
    EXPECT_EQ(button.cards,
              (std::vector<std::string>{"clsersim.dll", "clserabc.dll", "(Error Card)"}));
    EXPECT_EQ(model.Data().SelectedSlot, 3);
    EXPECT_EQ(model.Rows(), (std::vector<PortRow>{{"clser-3", "Used", "Connected to [Alpha]"}}));
    EXPECT_EQ(CallsOn(3, Kind::Open).back().type, 0);
    EXPECT_EQ(CallsOn(3, Kind::Open).back().index, 3);
}

TEST_F(PortScanActionsTest, OpenAndCloseSelectedPortChangeTheRowButtonsAndCaption) {
    silent.insert(Port(kCom2));
    model.ScanPorts();

    // A port whose camera did not answer cannot be opened, not even by double-click.
    model.DoubleClickRow(model.RowOfSlot(kCom2));
    EXPECT_EQ(model.Buttons(), PortButtons{});
    EXPECT_EQ(CallsOn(kCom2, Kind::Open).size(), 1u);
    EXPECT_STREQ(model.CancelCaption(), "&Cancel");

    // Double-click on a free port that answered opens it.
    camera.ClearCalls();
    model.DoubleClickRow(model.RowOfSlot(kCom1));
    EXPECT_EQ(CallsOn(kCom1, Kind::Open).size(), 1u);
    EXPECT_TRUE(CallsOn(kCom1, Kind::Close).empty());
    EXPECT_EQ(model.Rows()[static_cast<std::size_t>(model.SelectedRow())],
              (PortRow{"COM1", "Used", "Connected to [Alpha]"}));
    EXPECT_EQ(model.Buttons(), (PortButtons{false, true, true}));
    EXPECT_STREQ(model.CancelCaption(), "E&xit");
    EXPECT_EQ(registry.Owner(kCom1), self);

    // A camera that does not identify stays open and owned; only Close is possible.
    camera.values[0x90] = ModelText("GAMMA-1");
    model.ClickRow(model.RowOfSlot(kCom3));
    model.OpenSelectedPort();
    EXPECT_EQ(model.Rows()[static_cast<std::size_t>(model.RowOfSlot(kCom3))],
              (PortRow{"COM3", "Used", "None/Busy"}));
    EXPECT_EQ(model.Buttons(), (PortButtons{false, true, false}));
    EXPECT_TRUE(CallsOn(kCom3, Kind::Close).empty());
    EXPECT_EQ(ui.messages.size(), 1u);

    // Close frees the slot through the document; the camera is known to be there.
    camera.ClearCalls();
    model.CloseSelectedPort();
    EXPECT_EQ(CallsOn(kCom3, Kind::Close).size(), 1u);
    EXPECT_EQ(registry.Owner(kCom3), PortRegistry::kFree);
    EXPECT_EQ(model.Rows()[static_cast<std::size_t>(model.RowOfSlot(kCom3))],
              (PortRow{"COM3", "", "Existed, but disconnected"}));
    EXPECT_EQ(model.Buttons(), (PortButtons{true, false, false}));
    EXPECT_EQ(model.Data().ConnectionClosed, 0);  // not the document's port
}

TEST_F(PortScanActionsTest, ClosingTheDocumentsPortIsReportedToTheDocument) {
    model.ScanPorts();
    model.ClickRow(model.RowOfSlot(kCom2));
    model.OpenSelectedPort();
    doc.PortIndex = kCom2;  // as if accepted by an earlier dialog
    model.CloseSelectedPort();
    EXPECT_EQ(model.Data().ConnectionClosed, 1);
    const OpenCameraResult result = model.Result(model.Cancel());
    EXPECT_FALSE(result.accepted);
    EXPECT_TRUE(result.connectionClosed);
}

TEST_F(PortScanActionsTest, ActionsOnPortsInTheWrongStateDoNothing) {
    registry.SetOwner(kCom4, kOtherProcess);
    model.ScanPorts();
    camera.ClearCalls();
    // Another process's port: no close (which would free its slot), no open, no OK.
    model.ClickRow(model.RowOfSlot(kCom4));
    model.CloseSelectedPort();
    model.OpenSelectedPort();
    EXPECT_EQ(model.Accept(), Outcome::Stay);
    EXPECT_EQ(registry.Owner(kCom4), kOtherProcess);
    EXPECT_TRUE(camera.Calls().empty());
    // A port opened here cannot be opened twice; OK without a connected port does nothing.
    model.ClickRow(model.RowOfSlot(kCom1));
    model.OpenSelectedPort();
    model.OpenSelectedPort();
    EXPECT_EQ(CallsOn(kCom1, Kind::Open).size(), 1u);
    EXPECT_EQ(registry.Owner(kCom1), self);
    model.ClickRow(-1);
    EXPECT_EQ(model.Accept(), Outcome::Stay);
    EXPECT_EQ(model.Data().SelectedSlot, -1);
}

TEST_F(PortScanActionsTest, ArrowKeysMoveTheSelectionWithinTheList) {
    for (int slot : {1, 2, 3, 4, 5, kCom2, kCom3, kCom4}) missing.insert(Port(slot));
    silent.insert(Port(kCom1));
    model.ScanPorts();
    ASSERT_EQ(PortNames(), (std::vector<std::string>{"clser-0", "COM1"}));

    model.KeyUp();  // no selection
    EXPECT_EQ(model.SelectedRow(), -1);
    model.KeyDown();  // from no selection to the first row
    EXPECT_EQ(model.SelectedRow(), 0);
    EXPECT_EQ(model.Buttons(), (PortButtons{true, false, false}));
    model.KeyUp();  // first row
    EXPECT_EQ(model.SelectedRow(), 0);
    model.KeyDown();
    EXPECT_EQ(model.SelectedRow(), 1);
    EXPECT_EQ(model.Buttons(), PortButtons{});  // COM1 did not answer
    model.KeyDown();                            // last row
    EXPECT_EQ(model.SelectedRow(), 1);
    model.KeyUp();
    EXPECT_EQ(model.SelectedRow(), 0);
    EXPECT_EQ(model.Buttons(), (PortButtons{true, false, false}));
}

// The document's "&Open Camera..." with this dialog behind it: a scan that closed the
// document's port and a Cancel leave the document without a connection.
class DialogUi : public RecordingUi {
  public:
    std::function<OpenCameraResult(CVelterraDoc&)> run;
    OpenCameraResult RunOpenCameraDialog(CVelterraDoc& doc) override { return run(doc); }
};

TEST_F(PortScanActionsTest, DocumentForgetsAPortTheDialogClosed) {
    DialogUi dialogUi;
    doc.SetUserInterface(&dialogUi);
    ScriptedSelection selection(
        {Force(SelectionMode::kCom3Leaf), Choose(SelectionMode::kSearchAll)});
    dialogUi.run = [&](CVelterraDoc& d) {
        OpenCameraModel dialog(d, table);
        const Outcome end = dialog.Start(selection.Runner());
        return dialog.Result(end == Outcome::Ok ? dialog.Accept() : dialog.Cancel());
    };
    doc.OnOpenCamera();
    ASSERT_EQ(doc.PortIndex, kCom3);
    EXPECT_EQ(doc.ModelName, "Alpha");
    EXPECT_EQ(doc.BaudRate, 57600);

    doc.OnOpenCamera();  // scans, which closes COM3, then cancels
    EXPECT_EQ(doc.PortIndex, -1);
    EXPECT_EQ(doc.ModelName, "");
    EXPECT_EQ(registry.Owner(kCom3), PortRegistry::kFree);
}

}  // namespace
}  // namespace enginetest
