// The Open Camera dialog against simulated cameras: the scan runs while the dialog keeps its
// event loop and says which port it probes, ports another copy holds are left alone, and the
// buttons and the Cancel caption follow each port's state.
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <set>

#include "DialogTestSupport.h"
#include "connect/ConnectTexts.h"
#include "connect/OpenCameraModel.h"
#include "connect/SelectionMode.h"
#include "connect/widgets/OpenCameraDlg.h"

using namespace velterra;
using namespace dialogtest;

namespace {

class OpenCameraDlgTest : public CameraPortsFixture {
  protected:
    std::vector<std::vector<std::string>> ListTexts(const COpenCameraDlg& dialog) const {
        std::vector<std::vector<std::string>> rows;
        const QTableWidget* list = dialog.PortList();
        for (int row = 0; row < list->rowCount(); ++row) {
            std::vector<std::string> texts;
            for (int column = 0; column < list->columnCount(); ++column) {
                texts.push_back(list->item(row, column)->text().toStdString());
            }
            rows.push_back(texts);
        }
        return rows;
    }
    // Open, Close, OK enabled.
    static std::vector<bool> ButtonStates(const COpenCameraDlg& dialog) {
        return {dialog.Button(OpenCameraModel::kOpenPortId)->isEnabled(),
                dialog.Button(OpenCameraModel::kClosePortId)->isEnabled(),
                dialog.Button(OpenCameraModel::kOkId)->isEnabled()};
    }
    // Waits for the worker, recording what the progress line said meanwhile.
    void WaitIdle(const COpenCameraDlg& dialog) {
        ASSERT_TRUE(WaitUntil([&] { return !dialog.IsBusy(); }, 30000,
                              [&] {
                                  if (dialog.ProgressLabel()->isVisible()) {
                                      progressTexts_.insert(
                                          dialog.ProgressLabel()->text().toStdString());
                                  }
                              }));
    }

    ProbeTable table_;
    std::set<std::string> progressTexts_;
};

TEST_F(OpenCameraDlgTest, ScanListsUsablePortsAndLeavesAHeldPortAlone) {
    Camera("VELTERRA_COM1", "LS-4096M12");
    Camera("VELTERRA_COM2", "LS-2048C", 1.0);  // never answers
    velterra::sim::SimulatedCamera& held = Camera("VELTERRA_COM3", "LS-4096M12");
    registry_->SetOwner(kCom3, kOtherProcess);

    COpenCameraDlg dialog(*doc_, nullptr, table_);
    int selectionDialogs = 0;
    dialog.SetSelectionRunner([&](SelectionMode& selection) {
        ++selectionDialogs;
        return selection.AcceptSelection();  // as it opens: search all, 57600 baud
    });
    dialog.show();
    ASSERT_TRUE(WaitUntil([&] { return selectionDialogs == 1; }));
    WaitIdle(dialog);

    EXPECT_TRUE(progressTexts_.count("Probing COM2...")) << "the silent port takes a while";
    EXPECT_FALSE(progressTexts_.count("Probing COM3..."));
    EXPECT_EQ(ListTexts(dialog),
              (std::vector<std::vector<std::string>>{{"COM1", "", "Existed, but disconnected"},
                                                     {"COM2", "", "None/Busy"},
                                                     {"COM3", "Used by other process", ""}}));
    EXPECT_EQ(held.FrameCount(), 0u);
    EXPECT_EQ(registry_->Owner(kCom3), kOtherProcess);
    EXPECT_FALSE(doc_->FirstScan);

    // Open, Close, OK per row; nothing before a row is chosen.
    EXPECT_EQ(ButtonStates(dialog), (std::vector<bool>{false, false, false}));
    const std::vector<bool> expected[] = {
        {true, false, false}, {false, false, false}, {false, false, false}};
    for (int row = 0; row < 3; ++row) {
        dialog.PortList()->selectRow(row);
        EXPECT_EQ(ButtonStates(dialog), expected[row]) << "row " << row;
    }
    EXPECT_EQ(dialog.Button(OpenCameraModel::kCancelId)->text(), ConnectText::kCancelButton);

    dialog.PortList()->selectRow(0);
    dialog.Button(OpenCameraModel::kOpenPortId)->click();
    EXPECT_TRUE(dialog.IsBusy());
    WaitIdle(dialog);
    EXPECT_EQ(ListTexts(dialog)[0],
              (std::vector<std::string>{"COM1", "Used", "Connected to [LS-4096M12]"}));
    EXPECT_EQ(ButtonStates(dialog), (std::vector<bool>{false, true, true}));
    EXPECT_EQ(dialog.Button(OpenCameraModel::kCancelId)->text(), ConnectText::kExitButton);

    dialog.Button(OpenCameraModel::kOkId)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const OpenCameraResult result = dialog.Result();
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(result.slot, kCom1);
    EXPECT_EQ(result.modelName, "LS-4096M12");
    EXPECT_EQ(result.baudRate, 57600);
    EXPECT_EQ(registry_->Owner(kCom1), PortRegistry::SelfId());
}

TEST_F(OpenCameraDlgTest, FailedForcedPortBringsSelectionModeBackAndCancelEndsTheDialog) {
    std::vector<std::string> modes;
    COpenCameraDlg dialog(*doc_, nullptr, table_);
    dialog.SetSelectionRunner([&](SelectionMode& selection) {
        modes.push_back(modes.empty() ? "COM4" : "cancel");
        if (modes.size() > 1) return false;
        selection.SelectTreeItem(SelectionMode::kCom4Leaf);  // nothing behind COM4
        return selection.AcceptSelection();
    });
    dialog.show();
    ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));

    EXPECT_EQ(modes, (std::vector<std::string>{"COM4", "cancel"}));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.Result().accepted);
    EXPECT_EQ(registry_->Owner(kCom4), PortRegistry::kFailed);
}

TEST_F(OpenCameraDlgTest, ForcedPortConnectsAndEndsTheDialogWithIt) {
    Camera("VELTERRA_COM4", "LS-2048C");
    COpenCameraDlg dialog(*doc_, nullptr, table_);
    dialog.SetSelectionRunner([](SelectionMode& selection) {
        selection.SelectTreeItem(SelectionMode::kCom4Leaf);
        return selection.AcceptSelection();
    });
    dialog.show();
    ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Result().slot, kCom4);
    EXPECT_EQ(dialog.Result().modelName, "LS-2048C");
    EXPECT_TRUE(ui_.messages.empty());
}

// The window's --port: the dialog connects the port at once; only a failure asks.
TEST_F(OpenCameraDlgTest, ForcedStartConnectsWithoutAskingOrFallsBackToSelectionMode) {
    const struct {
        bool camera;
        int32_t baud;
        int dialogResult;
        int selectionDialogs;
        int32_t resultBaud;
    } cases[] = {{true, 0, QDialog::Accepted, 0, 57600},
                 {true, 19200, QDialog::Accepted, 0, 19200},
                 {false, 0, QDialog::Rejected, 1, 57600}};
    Camera("VELTERRA_COM4", "LS-2048C");
    const std::string cameraPath = getenv("VELTERRA_COM4");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.camera ? "camera" : "no camera");
        setenv("VELTERRA_COM4", c.camera ? cameraPath.c_str() : missing_.c_str(), 1);
        doc_->ReleaseOwnPorts();
        COpenCameraDlg dialog(*doc_, nullptr, table_);
        int selectionDialogs = 0;
        dialog.SetSelectionRunner([&](SelectionMode&) {
            ++selectionDialogs;
            return false;
        });
        dialog.SetForcedStart(kCom4, c.baud);
        dialog.show();
        ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));

        EXPECT_EQ(dialog.result(), c.dialogResult);
        EXPECT_EQ(selectionDialogs, c.selectionDialogs);
        if (c.camera) {
            EXPECT_EQ(dialog.Result().slot, kCom4);
            EXPECT_EQ(dialog.Result().modelName, "LS-2048C");
            EXPECT_EQ(dialog.Result().baudRate, c.resultBaud);
            EXPECT_EQ(registry_->Owner(kCom4), PortRegistry::SelfId());
        } else {
            EXPECT_EQ(registry_->Owner(kCom4), PortRegistry::kFailed);
        }
    }
}

}  // namespace
