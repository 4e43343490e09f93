#pragma once
#include <functional>
#include <string>

#include "CameraFunctions.h"

namespace velterra {

// The flat-field correction wizard without its window: the dark step (lens covered, camera
// function "FrnCoef"), then the bright step (lens open on a white area, "PrnuCoef"). After each
// step the camera computes and does not answer; the wizard polls it with the alive probe until
// it answers again, or gives up after a number of polls.
//
// The wizard never sleeps and never blocks on the probe: whoever drives it (the dialog from a
// timer, the console tool, a test) asks what the wait needs next, does it and calls Resume. So
// the window keeps painting during the wait and tests run without the real pauses.
class FlatFieldWizard {
  public:
    // The step numbers the dialog keeps.
    enum Step : int { kDarkPending = 0, kBrightPending = 1, kComplete = 2, kTimedOut = 3 };
    // About two minutes with a camera that stays silent: each unanswered probe waits out the
    // exchange's 3 s time limit before the one-second pause.
    static constexpr int kDefaultPollLimit = 30;
    static constexpr int kMaxPollLimit = 3600;
    static constexpr int kPollPauseMs = 1000;
    static constexpr int kLastPauseMs = 200;

    // What the dialog shows.
    struct Display {
        std::string text;
        bool nextShown = true;
        bool skipShown = true;
        bool cancelShown = true;
        bool progressShown = false;
        int progress = 0;  // 0 to 100
        std::string nextCaption;
    };

    enum class Outcome { Open, Finished, Cancelled };
    // What the wait needs before Resume: nothing (no wait under way), one alive probe (Probe,
    // which may run on another thread), or a pause of PauseMs.
    enum class Due { Nothing, Probe, Pause };

    // The poll limit is taken within 1 and kMaxPollLimit.
    explicit FlatFieldWizard(CameraFunctions& functions, int pollLimit = kDefaultPollLimit);
    ~FlatFieldWizard();
    FlatFieldWizard(const FlatFieldWizard&) = delete;
    FlatFieldWizard& operator=(const FlatFieldWizard&) = delete;

    // The buttons. Next and Skip do nothing while a wait is under way; Cancel stops the wait
    // (the camera goes on computing) and ends the wizard at any time.
    void Next();
    void Skip();
    void Cancel();

    // The probe of the wait: the document's alive probe without repaint. It touches only what
    // the document guards for its polling thread, so the dialog runs it off its own thread.
    void Probe();
    // Goes on after the probe (run here when Probe was not called) or the pause.
    void Resume();

    int CurrentStep() const { return step_; }
    const Display& Shown() const { return display_; }
    Outcome Result() const { return outcome_; }
    bool Waiting() const { return due_ != Due::Nothing; }
    Due Pending() const { return due_; }
    int PauseMs() const { return pauseMs_; }
    int PollLimit() const { return pollLimit_; }
    int Polls() const { return polls_; }

  private:
    void ShowStep(int step);
    void StartWait(const char* function, int nextStep);
    void Poll();
    void EndWait();
    void SetFfcRunning(bool running);

    CameraFunctions& functions_;
    int pollLimit_;
    int step_ = kDarkPending;
    Display display_;
    Outcome outcome_ = Outcome::Open;
    Due due_ = Due::Nothing;
    int pauseMs_ = 0;
    bool probed_ = false;
    bool lastPause_ = false;  // the pause after the loop, before the outcome shows
    int loopIndex_ = 0;       // the progress position is 5 × (loopIndex_ + 1)
    int polls_ = 0;
};

// Drives a wait on the caller's thread until it ends. `sleep` stands in for the clock, `shown`
// is told after every change of the display.
void RunFlatFieldWait(FlatFieldWizard& wizard, const std::function<void(int ms)>& sleep,
                      const std::function<void()>& shown = {});

}  // namespace velterra
