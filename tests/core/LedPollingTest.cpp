// The LED polling thread and the settle timer's logic, against the scripted camera.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <thread>

#include "EngineTestSupport.h"
#include "core/GetLEDThread.h"
#include "core/SettleTimer.h"

using namespace velterra;

namespace enginetest {
namespace {

using Kind = Call::Kind;
using velterra::CGetLEDThread;
using velterra::SettleTimer;
using Next = SettleTimer::Next;

// Waits (at most 5 s) until the camera has seen `count` calls of a kind.
bool AwaitCalls(const ScriptedCamera& camera, Kind kind, std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (camera.CallsOf(kind).size() < count) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

class LedPollingTest : public ::testing::Test {
  protected:
    LedPollingTest() {
        std::vector<RowInfo> rows;
        rows.push_back(Row("Gain", Number(0x11, 1, 0, 255)));
        f.doc.Blocks.push_back(Block("Block", std::move(rows)));
    }
    EngineFixture f;
    ScriptedCamera& camera = f.camera;
};

TEST_F(LedPollingTest, QuitWinsOverAPendingPollAndNothingIsSent) {
    CGetLEDThread thread(&f.doc);
    thread.RequestPoll();
    thread.RequestQuit();
    EXPECT_FALSE(thread.InitInstance());
    EXPECT_TRUE(thread.Finished());
    EXPECT_TRUE(camera.Calls().empty());

    CGetLEDThread orphan(nullptr);  // no document: ends at once
    EXPECT_FALSE(orphan.InitInstance());
    EXPECT_TRUE(orphan.Finished());
}

TEST_F(LedPollingTest, PollsDuringAProbeCollapseIntoExactlyOneMore) {
    std::mutex mutex;
    std::condition_variable changed;
    bool inProbe = false;
    bool release = false;
    camera.duringCall = [&](const Call& call) {
        if (call.kind != Kind::Command) return;
        std::unique_lock lock(mutex);
        if (inProbe) return;  // only the first probe is held
        inProbe = true;
        changed.notify_all();
        changed.wait(lock, [&] { return release; });
    };
    ASSERT_TRUE(f.doc.StartLedThread());
    CGetLEDThread& thread = *f.doc.LedThread();
    thread.RequestPoll();
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(5), [&] { return inProbe; }));
    }
    for (int i = 0; i < 5; ++i) thread.RequestPoll();
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    changed.notify_all();
    ASSERT_TRUE(AwaitCalls(camera, Kind::Command, 2));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // room for a wrong third probe
    f.doc.StopLedThread();
    EXPECT_EQ(camera.CallsOf(Kind::Command).size(), 2u);
    EXPECT_EQ(f.doc.LedThread(), nullptr);
    // Each probe repaints the lamp before and after it.
    EXPECT_EQ(f.ui.Count("lamp"), 4);
}

TEST_F(LedPollingTest, AKernelOneCameraGetsTheRequestedRefreshAfterTheProbe) {
    for (const int kernel : {1, 0}) {
        camera.ClearCalls();
        f.doc.CameraKernel = kernel;
        f.doc.RefreshRequested = true;
        ASSERT_TRUE(f.doc.StartLedThread());
        f.doc.LedThread()->RequestPoll();
        ASSERT_TRUE(AwaitCalls(camera, Kind::Command, 1));
        if (kernel == 1) {
            ASSERT_TRUE(AwaitCalls(camera, Kind::ReadWrite2, 1));
        }
        f.doc.StopLedThread();
        const auto calls = camera.Calls();
        ASSERT_EQ(calls.size(), kernel == 1 ? 2u : 1u) << kernel;
        EXPECT_EQ(calls[0].kind, Kind::Command);
        EXPECT_EQ(f.doc.RefreshRequested, kernel == 0) << kernel;
    }
}

TEST_F(LedPollingTest, ARefreshOnTheThreadHoldsTheTableOneReadAtATimeAndStopsWhenItIsFreed) {
    std::vector<RowInfo> rows;
    for (uint8_t id = 0x20; id < 0x26; ++id) rows.push_back(Row("P", Number(id, 1, 0, 255)));
    f.doc.Blocks.push_back(Block("More", std::move(rows)));
    std::mutex mutex;
    std::condition_variable changed;
    bool inThirdRead = false;
    bool release = false;
    camera.duringCall = [&](const Call& call) {
        if (call.kind != Kind::ReadWrite2 || camera.CallsOf(Kind::ReadWrite2).size() != 3) return;
        std::unique_lock lock(mutex);
        inThirdRead = true;
        changed.notify_all();
        changed.wait(lock, [&] { return release; });
    };
    f.doc.CameraKernel = 1;
    f.doc.RefreshRequested = true;
    ASSERT_TRUE(f.doc.StartLedThread());
    f.doc.LedThread()->RequestPoll();
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(5), [&] { return inThirdRead; }));
    }
    // The window's thread: the table can neither be copied nor freed during the read...
    const bool lockedDuringRead = f.doc.TableLock.try_lock();
    if (lockedDuringRead) f.doc.TableLock.unlock();
    EXPECT_FALSE(lockedDuringRead);
    std::atomic<bool> freed{false};
    std::thread window([&] {
        f.doc.FreeCommandTable();
        freed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(freed);
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    changed.notify_all();
    window.join();  // ...and once it ends, the table goes and the refresh stops reading
    f.doc.StopLedThread();
    EXPECT_TRUE(f.doc.Blocks.empty());
    EXPECT_EQ(camera.CallsOf(Kind::ReadWrite2).size(), 3u);
}

TEST_F(LedPollingTest, SettleTimerStopsAfterThreeAnsweredPollsInARow) {
    // Probe results per tick; a busy (unanswered) poll starts the count again.
    camera.commandResults = {1, 1, 0, 1, 1, 1};
    f.doc.RefreshRequested = true;
    SettleTimer timer;
    std::vector<Next> ticks;
    for (int i = 0; i < 6; ++i) ticks.push_back(timer.Tick(f.doc));
    EXPECT_EQ(ticks, (std::vector<Next>{Next::KeepRunning, Next::KeepRunning, Next::KeepRunning,
                                        Next::KeepRunning, Next::KeepRunning, Next::Stop}));
    EXPECT_EQ(camera.CallsOf(Kind::Command).size(), 6u);
    EXPECT_EQ(f.ui.Count("lamp"), 6);
    // The settled camera gets the refresh that was asked for, once.
    EXPECT_EQ(camera.CallsOf(Kind::ReadWrite).size(), 1u);
    EXPECT_FALSE(f.doc.RefreshRequested);
    EXPECT_EQ(timer.AnsweredPolls(), 0);
}

TEST_F(LedPollingTest, SettleTimerHandsAKernelOneCameraToTheThread) {
    f.doc.CameraKernel = 1;
    SettleTimer timer;
    // Without the thread the timer probes itself.
    EXPECT_EQ(timer.Tick(f.doc), Next::KeepRunning);
    EXPECT_EQ(camera.CallsOf(Kind::Command).size(), 1u);
    // While the flat-field wizard waits, it alone polls: the timer neither probes nor hands over.
    ASSERT_TRUE(f.doc.StartLedThread());
    f.doc.FfcRunning = true;
    EXPECT_EQ(timer.Tick(f.doc), Next::KeepRunning);
    EXPECT_EQ(camera.CallsOf(Kind::Command).size(), 1u);
    f.doc.CameraKernel = 0;
    EXPECT_EQ(timer.Tick(f.doc), Next::KeepRunning);
    EXPECT_EQ(camera.CallsOf(Kind::Command).size(), 1u);
    // Nor while a function run on the window's thread keeps the document Busy.
    f.doc.FfcRunning = false;
    f.doc.Busy = true;
    EXPECT_EQ(timer.Tick(f.doc), Next::KeepRunning);
    EXPECT_EQ(camera.CallsOf(Kind::Command).size(), 1u);
    f.doc.Busy = false;
    f.doc.CameraKernel = 1;

    EXPECT_EQ(timer.Tick(f.doc), Next::Stop);
    ASSERT_TRUE(AwaitCalls(camera, Kind::Command, 2));  // the thread's probe
    f.doc.StopLedThread();
    EXPECT_EQ(camera.CallsOf(Kind::Command).size(), 2u);
}

}  // namespace
}  // namespace enginetest
