#include "FunctionProgress.h"

#include "ExchangeProgress.h"
#include "MainFrame.h"
#include "core/FormatText.h"
#include "ui/UiTexts.h"

namespace velterra {

namespace {

// The frame's functions report to no dialog once the run is over, also when it throws.
class ProgressScope {
  public:
    ProgressScope(CameraFunctions& functions, CameraFunctions::Progress progress)
        : functions_(functions) {
        functions_.SetProgress(std::move(progress));
    }
    ~ProgressScope() { functions_.SetProgress({}); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

  private:
    CameraFunctions& functions_;
};

}  // namespace

void RunWithFunctionProgress(CMainFrame& frame, const std::string& name,
                             const std::function<void()>& run) {
    ExchangeProgress progress(
        &frame, QString::fromUtf8(UiText::kFunctionProgressTitle),
        QString::fromStdString(FormatText(UiText::kFunctionProgressLabel, name.c_str())),
        QString::fromUtf8(UiText::kStopFunction));
    CameraFunctions& functions = frame.Functions();
    ProgressScope scope(functions, [&](int done, int total) {
        return progress.Report(done, total, functions.ProgressStoppable());
    });
    run();
}

}  // namespace velterra
