// The alive probe, the refresh of every parameter and the start of a connection.
#include <gtest/gtest.h>

#include <condition_variable>
#include <thread>

#include "EngineTestSupport.h"

using namespace velterra;

namespace enginetest {
namespace {

using Kind = Call::Kind;

class ProbeRefreshTest : public ::testing::Test {
  protected:
    ScratchConfig config;
    EngineFixture f{config.Path()};
    CVelterraDoc& doc = f.doc;
    ScriptedCamera& camera = f.camera;
    RecordingUi& ui = f.ui;
    RecordingView& view = f.view;

    // Blocks: "A" with a list, a row without command and a number; "B" with a text.
    void Table() {
        std::vector<RowInfo> a;
        a.push_back(Row("Mode", List(0x50, {{0, "Off"}, {1, "On"}})));
        a.push_back(RowInfo{"", "[Unknown]", nullptr});
        a.push_back(Row("Gain", Number(0x51, 1, 0, 100)));
        std::vector<RowInfo> b;
        b.push_back(Row("Name", Text(0x52, 4)));
        doc.Blocks.push_back(Block("A", std::move(a)));
        doc.Blocks.push_back(Block("B", std::move(b)));
        doc.Blocks.push_back(Block("Empty", {}));
        doc.BlockCount = 3;
    }
};

TEST_F(ProbeRefreshTest, ProbeWithoutPortClearsNotRespondingAndSendsNothing) {
    doc.PortIndex = -1;
    doc.NotResponding = true;
    doc.ProbeCamera(true);
    EXPECT_FALSE(doc.NotResponding);
    EXPECT_TRUE(camera.Calls().empty());
    EXPECT_TRUE(ui.events.empty());
}

TEST_F(ProbeRefreshTest, ProbeSendsTheCachedGetLEDStateCommandAndKeepsOnlySuccess) {
    config.Write("Command.ini", "[GetLEDState]\nCommandID=0X1F\n");
    doc.PortType = 0;  // not a scratch value: the probe takes the type from the slot's tag
    doc.ProbeCamera(false);
    EXPECT_FALSE(doc.NotResponding);
    EXPECT_FALSE(doc.ProbeRunning);
    auto calls = camera.CallsOf(Kind::Command);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].command, 0x1F);
    EXPECT_EQ(calls[0].type, PortSlot::kRs232);  // COM2
    EXPECT_EQ(calls[0].index, 1);
    EXPECT_EQ(calls[0].data, Bytes{0});

    // Read once per document: a changed file does not count until the next document.
    config.Write("Command.ini", "[GetLEDState]\nCommandID=0x20\n");
    camera.commandResult = 0;
    doc.ProbeCamera(false);
    EXPECT_TRUE(doc.NotResponding);
    EXPECT_EQ(camera.CallsOf(Kind::Command).back().command, 0x1F);
    camera.commandResult = 1;
    doc.ProbeCamera(false);
    EXPECT_FALSE(doc.NotResponding);
    EXPECT_TRUE(ui.events.empty());  // no repaint asked

    EngineFixture other(config.Path());
    other.doc.ProbeCamera(false);
    EXPECT_EQ(other.camera.CallsOf(Kind::Command).back().command, 0x20);
    std::filesystem::remove(std::filesystem::path(config.Path()) / "Command.ini");
    EngineFixture missing(config.Path());
    missing.doc.ProbeCamera(false);
    EXPECT_EQ(missing.camera.CallsOf(Kind::Command).back().command, 0);
}

TEST_F(ProbeRefreshTest, ProbeRepaintShowsBusyOnlyWhileAnsweringCameraIsAsked) {
    std::vector<bool> busyAtLamp;
    ui.onLamp = [&] { busyAtLamp.push_back(doc.Busy); };
    doc.ProbeCamera(true);
    EXPECT_EQ(ui.Count("lamp"), 2);
    EXPECT_EQ(busyAtLamp, (std::vector<bool>{true, false}));
    EXPECT_FALSE(doc.Busy);

    // Not responding: the lamp is red already, Busy stays as it is.
    busyAtLamp.clear();
    doc.NotResponding = true;
    camera.commandResult = 0;
    doc.ProbeCamera(true);
    EXPECT_EQ(busyAtLamp, (std::vector<bool>{false, false}));
    EXPECT_TRUE(doc.NotResponding);
}

TEST_F(ProbeRefreshTest, ProbeWhileAnotherIsSendingMarksNotRespondingAndSendsNothing) {
    std::mutex m;
    std::condition_variable cv;
    bool inside = false;
    bool release = false;
    camera.duringCall = [&](const Call&) {
        std::unique_lock lock(m);
        inside = true;
        cv.notify_all();
        cv.wait(lock, [&] { return release; });
    };
    std::thread first([&] { doc.ProbeCamera(true); });
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return inside; });
    }
    EXPECT_TRUE(doc.ProbeRunning);
    // The second probe must not wait for the port lock the first one holds.
    doc.ProbeCamera(false);
    EXPECT_TRUE(doc.NotResponding);
    EXPECT_EQ(camera.CallsOf(Kind::Command).size(), 1u);
    {
        std::lock_guard lock(m);
        release = true;
    }
    cv.notify_all();
    first.join();
    EXPECT_FALSE(doc.NotResponding);
    EXPECT_FALSE(doc.ProbeRunning);
    EXPECT_EQ(camera.CallsOf(Kind::Command).size(), 1u);
}

TEST_F(ProbeRefreshTest, RefreshReadsEveryRowAndSetsModifiedOnlyWhenSomethingWasRead) {
    Table();
    camera.failingReads = {0x50, 0x51, 0x52};
    doc.RefreshAll();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view.Messages(),
              (std::vector<std::string>{"Reading [A]->[Mode] from COM2 (drop-item) is failed!",
                                        "Reading [A]->[Gain] from COM2 (value) is failed!",
                                        "Reading [B]->[Name] from COM2 (string) is failed!",
                                        "the camera does not answer on COM2"}));
    ASSERT_FALSE(view.updates.empty());
    EXPECT_EQ(view.updates.back().hint, 1);
    EXPECT_TRUE(view.updates.back().withBlocks);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"wait on", "wait off"}));

    // A refresh that fails everywhere leaves a set flag set.
    doc.SetModifiedFlag(true);
    doc.RefreshAll();
    EXPECT_TRUE(doc.IsModified());

    doc.SetModifiedFlag(false);
    camera.failingReads = {0x50, 0x52};
    camera.values[0x51] = {42};
    doc.RefreshAll();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Blocks[0].Rows[2].Command->ValueText, "42");
    EXPECT_EQ(camera.Calls().size(), 9u);  // three reads per refresh, nothing for the others
}

TEST_F(ProbeRefreshTest, SilentCameraStopsTheRefreshAfterThreeFailuresInARowAndSaysSoOnce) {
    std::vector<RowInfo> rows;
    for (uint8_t id = 0x60; id < 0x66; ++id) rows.push_back(Row("P", Number(id, 1, 0, 100)));
    doc.Blocks.push_back(Block("A", std::move(rows)));
    doc.BlockCount = 1;
    // A failure between successes does not count towards the three.
    camera.failingReads = {0x60, 0x61, 0x63, 0x64, 0x65};
    camera.values[0x62] = {7};
    doc.RefreshAll();
    EXPECT_EQ(camera.Calls().size(), 6u);
    EXPECT_EQ(view.Messages().size(), 6u);
    EXPECT_EQ(view.Messages().back(), "the camera does not answer on COM2");

    camera.failingReads = {0x60, 0x61, 0x62, 0x63, 0x64, 0x65};
    for (int refresh = 0; refresh < 2; ++refresh) {  // each refresh is a run of its own
        camera.ClearCalls();
        view.updates.clear();
        doc.RefreshAll();
        EXPECT_EQ(camera.Calls().size(), 3u);
        EXPECT_EQ(view.Messages().size(), 4u);
    }
    // Outside a run single reads still go out.
    camera.ClearCalls();
    EXPECT_EQ(doc.ReadParameter(0, 5), 0);
    EXPECT_EQ(camera.Calls().size(), 1u);

    // After a stop request nothing is sent or logged any more.
    camera.ClearCalls();
    view.updates.clear();
    doc.ExchangeRuns.RequestStop();
    doc.RefreshAll();
    EXPECT_EQ(doc.ReadParameter(0, 0), 0);
    EXPECT_TRUE(camera.Calls().empty());
    EXPECT_TRUE(view.Messages().empty());
}

TEST_F(ProbeRefreshTest, ReleaseNowWaitsForTheExchangeUnderWayThenClosesAndFreesTheSlot) {
    Table();
    PortRegistry& registry = *f.registry;
    registry.SetOwner(7, PortRegistry::SelfId());
    std::mutex m;
    std::condition_variable cv;
    bool inCall = false;
    camera.duringCall = [&](const Call& call) {
        if (call.kind != Kind::ReadWrite) return;
        {
            std::lock_guard lock(m);
            inCall = true;
        }
        cv.notify_all();
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    };
    std::thread refresh([&] { doc.RefreshAll(); });
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return inCall; });
    }
    EXPECT_EQ(doc.ReleaseOwnPortsNow(5000), 1);
    refresh.join();
    EXPECT_EQ(registry.Owner(7), PortRegistry::kFree);
    const auto calls = camera.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().kind, Kind::Close);
    EXPECT_EQ(camera.CallsOf(Kind::ReadWrite).size(), 1u) << "no exchange after the request";
}

TEST_F(ProbeRefreshTest, RefreshWithKernelOneShowsBusyOnTheLamp) {
    Table();
    doc.CameraKernel = 1;
    std::vector<bool> busyDuringReads;
    camera.duringCall = [&](const Call&) { busyDuringReads.push_back(doc.Busy); };
    doc.RefreshAll();
    EXPECT_EQ(busyDuringReads, (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(doc.Busy);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"lamp", "wait on", "wait off", "lamp"}));
}

TEST_F(ProbeRefreshTest, StartConnectionWithSilentCameraShowsTheBoxAndDoesNotRefresh) {
    Table();
    camera.commandResult = 0;
    doc.StartConnection();
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"Can't communicate with the remote device using COM2!"}));
    EXPECT_EQ(ui.events, (std::vector<std::string>{"timer 750"}));
    EXPECT_TRUE(camera.CallsOf(Kind::ReadWrite).empty());
    ASSERT_EQ(view.updates.size(), 1u);
    EXPECT_EQ(view.updates[0].hint, 1);
}

TEST_F(ProbeRefreshTest, StartConnectionProbesThenRefreshesAndKernelOneSkipsTheProbe) {
    Table();
    doc.StartConnection();
    auto calls = camera.Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].kind, Kind::Command);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"timer 750", "wait on", "wait off"}));
    EXPECT_TRUE(ui.messages.empty());

    camera.ClearCalls();
    ui.events.clear();
    doc.CameraKernel = 1;
    doc.NotResponding = false;
    doc.StartConnection();
    for (const Call& call : camera.Calls()) EXPECT_EQ(call.kind, Kind::ReadWrite2);
    EXPECT_EQ(camera.Calls().size(), 3u);
    EXPECT_EQ(ui.Count("timer 750"), 0);
}

TEST_F(ProbeRefreshTest, ClosingSlotsClosesTheRightPortAndFreesOnlyOwnSlots) {
    PortRegistry& registry = *f.registry;
    const uint32_t self = PortRegistry::SelfId();
    registry.SetOwner(2, self);
    registry.SetOwner(7, 1);  // init: another process that exists
    registry.SetOwner(8, PortRegistry::kFailed);
    registry.SetOwner(9, self);

    doc.ClosePortSlot(2);
    auto calls = camera.CallsOf(Kind::Close);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].type, 0);
    EXPECT_EQ(calls[0].index, 2);
    EXPECT_EQ(registry.Owner(2), PortRegistry::kFree);

    camera.ClearCalls();
    doc.ReleaseOwnPorts();
    calls = camera.CallsOf(Kind::Close);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].type, 1);
    EXPECT_EQ(calls[0].index, 3);
    EXPECT_EQ(registry.Owner(9), PortRegistry::kFree);
    EXPECT_EQ(registry.Owner(7), 1u);
    EXPECT_EQ(registry.Owner(8), PortRegistry::kFailed);

    // The document's end does the same.
    registry.SetOwner(4, self);
    {
        CVelterraDoc other(config.Path());
        other.SetPortRegistry(&registry);
        other.SetProtocol(camera.Api());
    }
    EXPECT_EQ(registry.Owner(4), PortRegistry::kFree);
    EXPECT_EQ(camera.CallsOf(Kind::Close).back().index, 4);
}

}  // namespace
}  // namespace enginetest
