#include "ui/widgets/LutFunctions.h"

#include <memory>

#include "core/FormatText.h"
#include "core/VelterraDoc.h"
#include "dataops/LutEditorCamera.h"
#include "dataops/LutTransfer.h"
#include "lut/widgets/LutDialog.h"
#include "ui/UiTexts.h"
#include "ui/widgets/ExchangeProgress.h"
#include "ui/widgets/MainFrame.h"
#include "ui/widgets/VelterraView.h"
#include "ui/widgets/WidgetText.h"

namespace velterra {

namespace {

// One workbook transfer under the exchange progress, which keeps the menus from starting
// anything else meanwhile; between two taps (each one library call) the window paints. The
// file dialogs of the transfer come before and after the camera exchanges, so the progress
// shows only once a tap is under way.
void RunWithProgress(CMainFrame& frame, bool toCamera) {
    ExchangeProgress progress(&frame, Text(UiText::kLutProgressTitle),
                              Text(UiText::kLutProgressStarting), QString());
    LutTransfer transfer(frame.Doc());
    transfer.SetProgress([&progress, &transfer](int done, int total) {
        const int taps = transfer.ProgressTaps() > 0 ? transfer.ProgressTaps() : total;
        // The transfer under way is the one after those done.
        const int current = done < total ? done + 1 : done;
        const bool nodes = current > taps;
        const int tap = nodes ? current - taps : current;
        progress.SetLabel(QString::fromStdString(
            FormatText(nodes ? UiText::kLutProgressNodes : UiText::kLutProgressTable, tap, taps)));
        progress.Report(done, total, false);
    });
    if (toCamera) {
        transfer.WriteLutFromWorkbook();
    } else {
        transfer.ReadLutToWorkbook();
    }
}

}  // namespace

void InstallLutFunctions(CMainFrame& frame, CVelterraView& view) {
    view.SetLutEditorFactory([](CVelterraDoc& doc, QWidget* parent) -> QWidget* {
        auto* editor = new CLutDialog(parent);
        editor->SetActions(std::make_unique<LutEditorCamera>(doc, editor->Model()));
        editor->InitLut(doc.ColorCamera != 0, doc.MaxTxUnitBits, doc.TapsNum);
        return editor;
    });
    frame.SetBuiltinFunction(6, [&frame] { RunWithProgress(frame, true); });
    frame.SetBuiltinFunction(7, [&frame] { RunWithProgress(frame, false); });
}

}  // namespace velterra
