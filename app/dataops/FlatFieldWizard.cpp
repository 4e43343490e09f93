#include "FlatFieldWizard.h"

#include <algorithm>

#include "DataOpsTexts.h"
#include "core/CommandNames.h"

namespace velterra {

namespace {

constexpr int kProgressStep = 5;
// The position climbs to 100 in 20 polls, then cycles through 55 ... 100.
constexpr int kLoopEnd = 20;
constexpr int kLoopRestart = 10;

}  // namespace

FlatFieldWizard::FlatFieldWizard(CameraFunctions& functions, int pollLimit)
    : functions_(functions), pollLimit_(std::clamp(pollLimit, 1, kMaxPollLimit)) {
    ShowStep(kDarkPending);
}

FlatFieldWizard::~FlatFieldWizard() {
    // However the dialog ends, the view's timer must not stay held back.
    if (Waiting()) SetFfcRunning(false);
}

void FlatFieldWizard::SetFfcRunning(bool running) {
    functions_.Document().FfcRunning = running;
}

void FlatFieldWizard::ShowStep(int step) {
    step_ = step;
    display_.progressShown = false;
    display_.nextCaption = DataOpsText::kFlatFieldNext;
    switch (step) {
        case kDarkPending:
            display_.text = DataOpsText::kFlatFieldDarkStep;
            break;
        case kBrightPending:
            display_.text = DataOpsText::kFlatFieldBrightStep;
            display_.nextShown = display_.skipShown = display_.cancelShown = true;
            break;
        case kComplete:
            display_.text = DataOpsText::kFlatFieldComplete;
            display_.nextCaption = DataOpsText::kFlatFieldFinish;
            display_.nextShown = true;
            display_.skipShown = false;
            break;
        default:
            display_.text = DataOpsText::kFlatFieldTimerOut;
            display_.nextShown = display_.skipShown = false;
            display_.cancelShown = true;
            break;
    }
}

void FlatFieldWizard::Next() {
    if (Waiting() || outcome_ != Outcome::Open) return;
    switch (step_) {
        case kDarkPending:
            StartWait(CommandName::kFrnCoef, kBrightPending);
            break;
        case kBrightPending:
            StartWait(CommandName::kPrnuCoef, kComplete);
            break;
        case kComplete:
            outcome_ = Outcome::Finished;
            break;
        default:
            break;  // only Cancel leaves a wait that timed out
    }
}

void FlatFieldWizard::Skip() {
    if (Waiting() || outcome_ != Outcome::Open) return;
    if (step_ == kDarkPending) {
        ShowStep(kBrightPending);
    } else if (step_ == kBrightPending) {
        ShowStep(kComplete);
    }
}

void FlatFieldWizard::Cancel() {
    if (outcome_ != Outcome::Open) return;
    if (Waiting()) {
        due_ = Due::Nothing;
        SetFfcRunning(false);
    }
    outcome_ = Outcome::Cancelled;
}

void FlatFieldWizard::StartWait(const char* function, int nextStep) {
    CVelterraDoc& doc = functions_.Document();
    SetFfcRunning(true);
    doc.StartPollTimer();
    // A failed send is logged by the runner; the camera is waited for all the same.
    functions_.RunCameraFunction(function);
    step_ = nextStep;

    display_.nextShown = display_.skipShown = false;
    // Cancel stays within reach: the wait may last minutes.
    display_.cancelShown = true;
    display_.text = DataOpsText::kFlatFieldPleaseWait;
    display_.progressShown = true;
    loopIndex_ = 0;
    polls_ = 0;
    lastPause_ = false;
    Poll();
}

void FlatFieldWizard::Poll() {
    display_.progress = kProgressStep * (loopIndex_ + 1);
    ++polls_;
    probed_ = false;
    due_ = Due::Probe;
}

void FlatFieldWizard::Probe() {
    functions_.Document().ProbeCamera(false);
    probed_ = true;
}

void FlatFieldWizard::Resume() {
    switch (due_) {
        case Due::Nothing:
            return;
        case Due::Probe:
            if (!probed_) Probe();
            due_ = Due::Pause;
            pauseMs_ = kPollPauseMs;
            return;
        case Due::Pause:
            break;
    }
    if (lastPause_) {
        EndWait();
        return;
    }
    if (functions_.Document().NotResponding && polls_ < pollLimit_) {
        if (++loopIndex_ == kLoopEnd) loopIndex_ = kLoopRestart;
        Poll();
        return;
    }
    display_.progress = 100;
    lastPause_ = true;
    pauseMs_ = kLastPauseMs;
}

void FlatFieldWizard::EndWait() {
    due_ = Due::Nothing;
    display_.progressShown = false;
    // Whatever answered during the last poll, a camera that is not answering now has not
    // finished.
    const bool timedOut = functions_.Document().NotResponding;
    SetFfcRunning(false);
    ShowStep(timedOut ? kTimedOut : step_);
    if (!timedOut && step_ == kComplete) display_.cancelShown = false;
}

void RunFlatFieldWait(FlatFieldWizard& wizard, const std::function<void(int ms)>& sleep,
                      const std::function<void()>& shown) {
    if (shown) shown();
    while (wizard.Waiting()) {
        if (wizard.Pending() == FlatFieldWizard::Due::Pause) sleep(wizard.PauseMs());
        wizard.Resume();
        if (shown) shown();
    }
}

}  // namespace velterra
