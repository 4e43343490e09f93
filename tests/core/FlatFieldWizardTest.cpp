// The flat-field wizard against a scripted camera: the steps and what each shows, the commands
// on the wire, the wait's progress positions and its pauses, the poll limit and Cancel.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "dataops/DataOpsTexts.h"
#include "dataops/FlatFieldWizard.h"

using namespace velterra;

namespace enginetest {
namespace {

using Kind = Call::Kind;
using Wizard = FlatFieldWizard;

constexpr uint8_t kProbeId = 0x8F;  // GetLEDState of the sample Command.ini
constexpr uint8_t kFrnCoefId = 0xB8;
constexpr uint8_t kPrnuCoefId = 0xB9;

struct WaitRecord {
    std::vector<int> positions;  // at each poll, then at the last pause
    int sleptMs = 0;
};

WaitRecord Wait(Wizard& wizard) {
    WaitRecord record;
    RunFlatFieldWait(
        wizard, [&](int ms) { record.sleptMs += ms; },
        [&] {
            const bool lastPause =
                wizard.Pending() == Wizard::Due::Pause && wizard.PauseMs() == Wizard::kLastPauseMs;
            if (wizard.Pending() == Wizard::Due::Probe || lastPause) {
                record.positions.push_back(wizard.Shown().progress);
            }
        });
    return record;
}

std::vector<int> Climb(int from, int to) {
    std::vector<int> positions;
    for (int p = from; p <= to; p += 5) positions.push_back(p);
    return positions;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::deque<int32_t> Unanswered(int polls, bool answerAfter) {
    std::deque<int32_t> results(polls, 0);
    if (answerAfter) results.push_back(1);
    return results;
}

class FlatFieldWizardTest : public ::testing::Test {
  protected:
    // The function sends first, then one probe per poll.
    void Script(int32_t functionResult, std::deque<int32_t> probes) {
        probes.push_front(functionResult);
        f.camera.commandResults = std::move(probes);
    }
    std::vector<uint8_t> CommandIds() const {
        std::vector<uint8_t> ids;
        for (const Call& call : f.camera.CallsOf(Kind::Command)) ids.push_back(call.command);
        return ids;
    }

    EngineFixture f;
    CameraFunctions functions{f.doc};
};

TEST_F(FlatFieldWizardTest, DarkStepWaitsUntilTheCameraAnswersOrThePollLimit) {
    struct Case {
        const char* name;
        int32_t functionResult;
        std::deque<int32_t> probes;
        int pollLimit;
        std::vector<int> positions;
        int step;
    };
    const Case cases[] = {
        {"answers at the third poll",
         1,
         Unanswered(2, true),
         30,
         {5, 10, 15, 100},
         Wizard::kBrightPending},
        {"answers after 25 polls", 1, Unanswered(24, true), 30,
         Join(Climb(5, 100), Join(Climb(55, 75), {100})), Wizard::kBrightPending},
        {"never answers", 1, Unanswered(4, false), 4, {5, 10, 15, 20, 100}, Wizard::kTimedOut},
        {"answers one poll too late",
         1,
         Unanswered(3, true),
         3,
         {5, 10, 15, 100},
         Wizard::kTimedOut},
        {"send failed, camera answers", 0, {1}, 30, {5, 100}, Wizard::kBrightPending},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.camera.ClearCalls();
        f.ui.events.clear();
        f.view.updates.clear();
        Script(c.functionResult, c.probes);
        f.camera.commandResult = 0;  // a probe beyond the script finds the camera busy
        Wizard wizard(functions, c.pollLimit);
        wizard.Next();
        EXPECT_TRUE(f.doc.FfcRunning);
        EXPECT_EQ(f.ui.events, std::vector<std::string>{"timer 750"});
        const Wizard::Display during = wizard.Shown();
        EXPECT_EQ(during.text, DataOpsText::kFlatFieldPleaseWait);
        EXPECT_TRUE(during.progressShown && during.cancelShown);
        EXPECT_FALSE(during.nextShown || during.skipShown);

        const WaitRecord record = Wait(wizard);
        EXPECT_EQ(record.positions, c.positions);
        const int polls = static_cast<int>(c.positions.size()) - 1;
        EXPECT_EQ(record.sleptMs, polls * Wizard::kPollPauseMs + Wizard::kLastPauseMs);
        std::vector<uint8_t> ids(1 + polls, kProbeId);
        ids[0] = kFrnCoefId;
        EXPECT_EQ(CommandIds(), ids);
        EXPECT_EQ(f.camera.CallsOf(Kind::Command)[0].data, Bytes{0x01});
        EXPECT_EQ(f.view.Messages().size(), c.functionResult ? 0u : 1u);

        EXPECT_FALSE(f.doc.FfcRunning);
        EXPECT_EQ(wizard.CurrentStep(), c.step);
        const Wizard::Display& after = wizard.Shown();
        EXPECT_FALSE(after.progressShown);
        EXPECT_TRUE(after.cancelShown);
        if (c.step == Wizard::kTimedOut) {
            EXPECT_EQ(after.text, DataOpsText::kFlatFieldTimerOut);
            EXPECT_FALSE(after.nextShown || after.skipShown);
            wizard.Next();  // only Cancel leaves
            EXPECT_EQ(wizard.Result(), Wizard::Outcome::Open);
        } else {
            EXPECT_EQ(after.text, DataOpsText::kFlatFieldBrightStep);
            EXPECT_TRUE(after.nextShown && after.skipShown);
        }
    }
}

TEST_F(FlatFieldWizardTest, BothStepsThenFinishCloses) {
    Script(1, {1});
    f.camera.commandResults.insert(f.camera.commandResults.end(), {1, 0, 1});
    Wizard wizard(functions);
    wizard.Next();
    Wait(wizard);
    wizard.Next();
    EXPECT_EQ(Wait(wizard).positions, (std::vector<int>{5, 10, 100}));
    EXPECT_EQ(CommandIds(),
              (std::vector<uint8_t>{kFrnCoefId, kProbeId, kPrnuCoefId, kProbeId, kProbeId}));
    EXPECT_EQ(wizard.CurrentStep(), Wizard::kComplete);
    const Wizard::Display& shown = wizard.Shown();
    EXPECT_EQ(shown.text, DataOpsText::kFlatFieldComplete);
    EXPECT_EQ(shown.nextCaption, DataOpsText::kFlatFieldFinish);
    EXPECT_TRUE(shown.nextShown);
    EXPECT_FALSE(shown.skipShown || shown.cancelShown);
    wizard.Next();
    EXPECT_EQ(wizard.Result(), Wizard::Outcome::Finished);
}

TEST_F(FlatFieldWizardTest, SkipTwiceCompletesWithoutACameraCommand) {
    Wizard wizard(functions);
    EXPECT_EQ(wizard.Shown().text, DataOpsText::kFlatFieldDarkStep);
    EXPECT_FALSE(wizard.Shown().progressShown);
    wizard.Skip();
    EXPECT_EQ(wizard.Shown().text, DataOpsText::kFlatFieldBrightStep);
    wizard.Skip();
    EXPECT_EQ(wizard.CurrentStep(), Wizard::kComplete);
    EXPECT_EQ(wizard.Shown().text, DataOpsText::kFlatFieldComplete);
    EXPECT_EQ(wizard.Shown().nextCaption, DataOpsText::kFlatFieldFinish);
    EXPECT_FALSE(wizard.Shown().skipShown);
    wizard.Skip();
    EXPECT_EQ(wizard.CurrentStep(), Wizard::kComplete);
    wizard.Next();
    EXPECT_EQ(wizard.Result(), Wizard::Outcome::Finished);
    EXPECT_TRUE(f.camera.Calls().empty());
    EXPECT_TRUE(f.ui.events.empty());
}

TEST_F(FlatFieldWizardTest, CancelStopsTheWaitAndLeavesFfcRunningClear) {
    // During the bright step's wait, after a completed dark step: no further poll goes out and
    // the buttons of the wait do nothing.
    Script(1, {1});
    f.camera.commandResult = 0;
    Wizard wizard(functions);
    wizard.Next();
    Wait(wizard);
    EXPECT_FALSE(f.doc.FfcRunning);
    wizard.Next();
    wizard.Resume();  // the first poll's probe
    wizard.Next();
    wizard.Skip();
    EXPECT_EQ(wizard.CurrentStep(), Wizard::kComplete);
    EXPECT_TRUE(f.doc.FfcRunning);
    const auto sent = f.camera.Calls().size();
    wizard.Cancel();
    EXPECT_EQ(wizard.Result(), Wizard::Outcome::Cancelled);
    EXPECT_FALSE(f.doc.FfcRunning);
    EXPECT_FALSE(wizard.Waiting());
    wizard.Resume();
    EXPECT_EQ(f.camera.Calls().size(), sent);

    // A wizard that goes away during a wait (the dialog closed otherwise) clears it too.
    {
        Wizard other(functions);
        other.Next();
        EXPECT_TRUE(f.doc.FfcRunning);
    }
    EXPECT_FALSE(f.doc.FfcRunning);
}

}  // namespace
}  // namespace enginetest
