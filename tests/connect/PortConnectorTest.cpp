// The alive check, model identification and connecting a slot, against a scripted camera.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "../core/EngineTestSupport.h"
#include "connect/PortConnector.h"

using namespace velterra;

namespace enginetest {
namespace {

using Kind = Call::Kind;
using Clock = std::chrono::steady_clock;

Bytes ModelReply(const std::string& text, std::size_t length = 16) {
    Bytes bytes(text.begin(), text.end());
    bytes.resize(length, 0);
    return bytes;
}

class PortConnectorTest : public ::testing::Test {
  protected:
    ScratchConfig config;
    EngineFixture f{config.Path()};
    ScriptedCamera& camera = f.camera;
    RecordingUi& ui = f.ui;
    PortRegistry& registry = *f.registry;
    ProbeTable table;
    PortConnector connector{f.doc, table};
};

TEST_F(PortConnectorTest, AliveCheckSendsTheGetLEDStateIdAsWrittenInCommandIni) {
    const std::vector<std::pair<std::string, uint8_t>> cases = {
        {"0x1F", 0x1F}, {"0X1F", 0x1F}, {"31", 0x1F}, {"0x", 0}, {"0x1234", 0x34}};
    for (const auto& [text, id] : cases) {
        config.Write("Command.ini", "[GetLEDState]\nCommandID=" + text + "\n");
        camera.ClearCalls();
        EXPECT_TRUE(connector.ProbeSlot(6)) << text;
        const auto calls = camera.Calls();
        ASSERT_EQ(calls.size(), 1u) << text;
        EXPECT_EQ(calls[0].command, id) << text;
        EXPECT_EQ(calls[0].data, Bytes{0});
    }
    // Slot 6 is COM1 (RS-232 index 0), slot 5 is clser-5 (Camera Link index 5).
    EXPECT_EQ(camera.Calls()[0].type, 1);
    EXPECT_EQ(camera.Calls()[0].index, 0);
    EXPECT_TRUE(connector.ProbeSlot(5));
    EXPECT_EQ(camera.Calls().back().type, 0);
    EXPECT_EQ(camera.Calls().back().index, 5);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PortConnectorTest, AliveCheckTriesTwiceWithAPauseAfterEachFailure) {
    camera.commandResults = {0, 1};
    auto start = Clock::now();
    EXPECT_TRUE(connector.ProbeSlot(7));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(camera.Calls().size(), 2u);

    camera.ClearCalls();
    camera.commandResults = {0, 0, 1};
    start = Clock::now();
    EXPECT_FALSE(connector.ProbeSlot(7));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_EQ(camera.Calls().size(), 2u);
    EXPECT_TRUE(ui.messages.empty());  // the alive check never shows a box
}

TEST_F(PortConnectorTest, IdentificationReadsTheModelTextAndFindsTheModel) {
    camera.values[0x90] = ModelReply("ALPHA-1");
    EXPECT_TRUE(connector.IdentifySlot(8));
    const auto calls = camera.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, Kind::ReadWrite);
    EXPECT_EQ(calls[0].write, 0);
    EXPECT_EQ(calls[0].command, 0x90);
    EXPECT_EQ(calls[0].length, 16u);
    EXPECT_EQ(calls[0].type, 1);
    EXPECT_EQ(calls[0].index, 2);
    EXPECT_EQ(table[8].RemoteDeviceName, "Alpha");
    EXPECT_EQ(connector.LastIdentification().ModelText, "ALPHA-1");
    EXPECT_EQ(connector.LastIdentification().CommandFileName, "alpha.ini");
    EXPECT_TRUE(ui.messages.empty());

    // A reply without a zero is CharLength characters; an embedded zero ends the text.
    config.Write("CAM_VL.ini",
                 "[Branch_Type]\nMaxBranchTypeNum=1\n0=\"" + std::string(70, 'N') +
                     "\" \"alpha.ini\"\n[Model_Info_Command]\nCommandID=144\nCharLength=16\n"
                     "[Model_Info_DB]\nABCDEFGHIJKLMNOP=0\nABC=0\n");
    camera.values[0x90] = TextBytes("ABCDEFGHIJKLMNOPQRS");
    EXPECT_TRUE(connector.IdentifySlot(8));
    EXPECT_EQ(connector.LastIdentification().ModelText, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(table[8].RemoteDeviceName, std::string(63, 'N'));  // the 64-byte field
    camera.values[0x90] = Bytes{'A', 'B', 'C', 0, 'D', 'E'};
    EXPECT_TRUE(connector.IdentifySlot(8));
    EXPECT_EQ(connector.LastIdentification().ModelText, "ABC");
}

TEST_F(PortConnectorTest, IdentificationFailuresShowTheirMessages) {
    camera.failingReads = {0x90};
    EXPECT_FALSE(connector.IdentifySlot(6));
    camera.failingReads.clear();
    camera.values[0x90] = ModelReply("NOPE");
    EXPECT_FALSE(connector.IdentifySlot(3));
    camera.values[0x90] = ModelReply("GAMMA-1");
    EXPECT_FALSE(connector.IdentifySlot(3));
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{
                  "Can't connect with the remote device using COM1!",
                  "Remote device NOPE is ready, but the program can't get the model information "
                  "of this device from the configuration file!",
                  "Remote device GAMMA-1 is ready, but the program can't get the detailed "
                  "configuration file about this device!"}));
    EXPECT_EQ(table[3].RemoteDeviceName, "");

    // A model text longer than one short frame carries is refused without a read.
    config.Write("CAM_VL.ini", "[Model_Info_Command]\nCommandID=144\nCharLength=200\n");
    camera.ClearCalls();
    EXPECT_FALSE(connector.IdentifySlot(6));
    EXPECT_TRUE(camera.Calls().empty());
    EXPECT_EQ(ui.messages.back(), "Can't connect with the remote device using COM1!");
}

TEST_F(PortConnectorTest, ConnectingMarksTheRegistryAndKeepsThePortOpen) {
    const uint32_t self = PortRegistry::SelfId();
    camera.values[0x90] = ModelReply("ALPHA-1");
    connector.BaudRate = 38400;
    EXPECT_EQ(connector.ConnectSlot(9), ProbeStatus::kConnected);
    EXPECT_EQ(registry.Owner(9), self);
    EXPECT_EQ(table[9].Status, ProbeStatus::kConnected);
    auto calls = camera.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, Kind::Open);
    EXPECT_EQ(calls[0].baud, 38400u);
    EXPECT_EQ(calls[0].index, 3);
    EXPECT_TRUE(camera.CallsOf(Kind::Close).empty());

    // A failed open marks the slot failed and reads nothing.
    camera.ClearCalls();
    camera.openResults = {0};
    EXPECT_EQ(connector.ConnectSlot(6), ProbeStatus::kNoAnswer);
    EXPECT_EQ(registry.Owner(6), PortRegistry::kFailed);
    EXPECT_EQ(camera.Calls().size(), 1u);
    EXPECT_TRUE(ui.messages.empty());

    // A failed identification leaves the port open and owned, unless the forced mode closes it.
    camera.values[0x90] = ModelReply("NOPE");
    camera.ClearCalls();
    EXPECT_EQ(connector.ConnectSlot(7), ProbeStatus::kNoAnswer);
    EXPECT_EQ(registry.Owner(7), self);
    EXPECT_TRUE(camera.CallsOf(Kind::Close).empty());
    EXPECT_EQ(connector.ConnectSlot(8, true), ProbeStatus::kNoAnswer);
    EXPECT_EQ(registry.Owner(8), self);
    calls = camera.CallsOf(Kind::Close);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].index, 2);
}

TEST_F(PortConnectorTest, AFourteenCharacterModelTextEndingInMReopensThePortWithKernelOne) {
    config.Write("CAM_VL.ini",
                 "[Branch_Type]\nMaxBranchTypeNum=1\n0=\"Alpha\" \"alpha.ini\"\n"
                 "[Model_Info_Command]\nCommandID=144\nCharLength=16\n[Model_Info_DB]\n"
                 "ABCDEFGHIJKLMM=0\nABCDEFGHIJKLMX=0\nABCDEFGHIJKLM=0\nABCDEFGHIJKLMNM=0\n");
    struct Case {
        const char* text;
        velterra::KernelChoice choice;
        uint8_t kernel;
    };
    using velterra::KernelChoice;
    const Case cases[] = {
        {"ABCDEFGHIJKLMM", KernelChoice::Auto, 1},
        {"ABCDEFGHIJKLMX", KernelChoice::Auto, 0},
        {"ABCDEFGHIJKLM", KernelChoice::Auto, 0},
        {"ABCDEFGHIJKLMNM", KernelChoice::Auto, 0},
        {"ABCDEFGHIJKLMX", KernelChoice::MbFrames, 1},
        {"ABCDEFGHIJKLMM", KernelChoice::ShortFrames, 0},
    };
    for (const Case& c : cases) {
        camera.values[0x90] = ModelReply(c.text);
        camera.ClearCalls();
        connector.Kernel = c.choice;
        EXPECT_EQ(connector.ConnectSlot(6), ProbeStatus::kConnected) << c.text;
        EXPECT_EQ(table[6].Kernel, c.kernel) << c.text;
        const auto opens = camera.CallsOf(Kind::Open);
        // Identification always runs over short frames; kernel 1 then closes and reopens.
        ASSERT_EQ(opens.size(), c.kernel == 1 ? 2u : 1u) << c.text;
        EXPECT_EQ(opens.back().kernel, c.kernel) << c.text;
        EXPECT_EQ(camera.CallsOf(Kind::Close).size(), c.kernel == 1 ? 1u : 0u) << c.text;
    }

    // The reopen failing leaves the slot failed, as a first open that fails does.
    connector.Kernel = KernelChoice::Auto;
    camera.values[0x90] = ModelReply("ABCDEFGHIJKLMM");
    camera.openResults = {1, 0};
    EXPECT_EQ(connector.ConnectSlot(7), ProbeStatus::kNoAnswer);
    EXPECT_TRUE(connector.LastOpenFailed());
    EXPECT_EQ(registry.Owner(7), PortRegistry::kFailed);
    EXPECT_EQ(table[7].Kernel, 0);
}

TEST_F(PortConnectorTest, ASlotAnotherLiveProcessOwnsIsNotTouched) {
    registry.SetOwner(7, 1);  // init exists on every system
    table[7].Status = ProbeStatus::kAnswered;
    EXPECT_EQ(connector.ConnectSlot(7), ProbeStatus::kAnswered);
    EXPECT_TRUE(camera.Calls().empty());
    EXPECT_EQ(registry.Owner(7), 1u);
}

TEST_F(PortConnectorTest, WhatAnotherCopyWritesDuringTheOpenIsKept) {
    const uint32_t self = PortRegistry::SelfId();
    constexpr uint32_t kOtherCopy = 1;  // init exists on every system
    camera.values[0x90] = ModelReply("ALPHA-1");
    struct Case {
        const char* what;
        int32_t openResult;
        std::optional<uint32_t> writtenDuringOpen;  // by the other copy, while this one opens
        uint32_t owner;
        bool claimLost;
    };
    const Case cases[] = {
        {"open fails, nobody else", 0, std::nullopt, PortRegistry::kFailed, false},
        {"open fails, the other copy took the slot", 0, kOtherCopy, kOtherCopy, false},
        {"open succeeds, the other copy took the slot", 1, kOtherCopy, kOtherCopy, true},
        {"open succeeds, the other copy's open failed", 1, PortRegistry::kFailed, self, false},
    };
    for (const Case& c : cases) {
        registry.SetOwner(8, PortRegistry::kFree);
        camera.ClearCalls();
        camera.openResults = {c.openResult};
        camera.duringCall = [&](const Call& call) {
            if (call.kind == Kind::Open && c.writtenDuringOpen) {
                registry.SetOwner(8, *c.writtenDuringOpen);
            }
        };
        connector.ConnectSlot(8);
        EXPECT_EQ(registry.Owner(8), c.owner) << c.what;
        EXPECT_EQ(connector.LastClaimLost(), c.claimLost) << c.what;
        // A port opened for a slot the other copy holds is closed again, before any exchange.
        if (c.claimLost) {
            EXPECT_EQ(camera.Calls().size(), 2u) << c.what;
            EXPECT_EQ(camera.CallsOf(Kind::Close).size(), 1u) << c.what;
        }
    }
}

}  // namespace
}  // namespace enginetest
