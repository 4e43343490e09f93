#include "ui/widgets/WindowParts.h"

#include <QObject>

#include "connect/widgets/PixelSetDialog.h"
#include "dataops/widgets/FlatFieldDialog.h"
#include "ui/widgets/FrameView.h"
#include "ui/widgets/LutFunctions.h"
#include "ui/widgets/MainFrame.h"
#include "ui/widgets/ProgramCommands.h"
#include "ui/widgets/QtUserInterface.h"
#include "ui/widgets/VelterraView.h"

namespace velterra {
namespace {

// The frame's view interface over the parameter view. A child of the view, so it lives exactly
// as long as the widget the frame holds.
class ViewForFrame final : public QObject, public IFrameView {
  public:
    explicit ViewForFrame(CVelterraView& view) : QObject(&view), view_(view) {}

    void StartPollTimer(int periodMs) override { view_.StartPollTimer(periodMs); }
    void RepaintLamp() override { view_.PaintLedLamp(); }
    void DropAdminLevel() override { view_.DropAdminLevel(); }
    void ShowAdminLevel() override { view_.ShowAdminLevel(); }
    bool OpenLutEditor() override {
        view_.OpenLutEditor();
        return true;
    }

  private:
    CVelterraView& view_;
};

}  // namespace

CWindowParts::CWindowParts(CMainFrame& frame) : view_(new CVelterraView(frame.Doc())) {
    frame.SetView(view_, new ViewForFrame(*view_));
    InstallProgramCommands(frame);
    frame.SetBuiltinFunction(2, [&frame] { RunFlatFieldWizard(frame.Doc(), &frame); });
    InstallLutFunctions(frame, *view_);
    frame.Ui().SetPixelSetDialog([&frame](OnePixelRequest& request) {
        return CPixelSetDialog::Run(request, frame.Ui(), &frame);
    });
}

void CWindowParts::OnShown() {
    view_->OnInitialUpdate();
}

}  // namespace velterra
