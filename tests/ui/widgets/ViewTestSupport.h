#pragma once
#include <QColor>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "core/CommandTable.h"
#include "core/UserInterface.h"

class QApplication;
class QWidget;

namespace velterra {

class CVelterraView;

// The one QApplication of the view tests, offscreen unless a display is asked for.
QApplication& ViewTestApp();

// Runs the event loop until `done` holds or the time is up; the last look decides.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::milliseconds(5000));
// The colour in the middle of what a widget paints.
QColor CentreColour(QWidget* widget);

// Rows of a hand-made table: a number, a text, a list or a read-only number.
struct TestRow {
    std::string name;
    enum Kind { Number, Text, List, ReadOnly } kind = Number;
    std::string value;
    int level = 0;
    uint32_t min = 0;
    uint32_t max = 1000;
    uint8_t charLength = 2;
    std::vector<std::string> items = {};
};
struct TestBlock {
    std::string name;
    std::vector<TestRow> rows;
    bool expanded = true;
};
// The block array of the blocks, with the level counts the model loader would give.
BlockArray MakeBlocks(const std::vector<TestBlock>& blocks);

// The window's calls into the view (lamp, timer 1, wait cursor), without a frame; the Open
// Camera dialog is a function the test gives.
// The Open Camera dialog's work without the dialog: opens and identifies the camera on the slot,
// as OK in the dialog would hand it over.
OpenCameraResult ConnectSlotForView(CVelterraDoc& doc, int slot);

class ViewTestUi : public IUserInterface {
  public:
    CVelterraView* view = nullptr;
    std::function<OpenCameraResult(CVelterraDoc&)> openCamera;
    std::vector<std::string> messages;

    void ShowMessage(const std::string& text, MessageKind) override { messages.push_back(text); }
    void StartPollTimer(int periodMs) override;
    void RepaintLamp() override;
    OpenCameraResult RunOpenCameraDialog(CVelterraDoc& doc) override {
        return openCamera ? openCamera(doc) : OpenCameraResult{};
    }
};

}  // namespace velterra
