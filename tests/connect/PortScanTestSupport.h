// The Open Camera dialog's logic on a scripted camera: every port opens and answers unless a
// test names it missing (the open fails) or silent (the alive check gets no answer).
#pragma once
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "../core/EngineTestSupport.h"
#include "connect/OpenCameraModel.h"
#include "connect/SelectionMode.h"

using namespace velterra;

namespace enginetest {

using PortKey = std::pair<int32_t, int32_t>;  // port type, port index

inline PortKey Port(int slot) {
    return {PortSlot::TransportOf(slot), PortSlot::PortNumber(slot)};
}

inline Bytes ModelText(const std::string& text) {
    Bytes bytes(text.begin(), text.end());
    bytes.resize(16, 0);
    return bytes;
}

class PortScanFixture : public ::testing::Test {
  protected:
    PortScanFixture() {
        ProtocolApi api = camera.Api();
        auto open = api.OpenPort2;
        api.OpenPort2 = [open, this](int32_t type, int32_t index, uint32_t baud) {
            const int32_t result = open(type, index, baud);
            return missing.count({type, index}) ? 0 : result;
        };
        auto command = api.CommandPort;
        api.CommandPort = [command, this](int32_t type, int32_t index, uint8_t id, uint8_t length,
                                          const uint8_t* data) {
            const int32_t result = command(type, index, id, length, data);
            return silent.count({type, index}) ? 0 : result;
        };
        doc.SetProtocol(api);
        doc.PortIndex = -1;
        camera.values[0x90] = ModelText("ALPHA-1");
    }

    // Calls of a kind made on one slot's port.
    std::vector<Call> CallsOn(int slot, Call::Kind kind) const {
        std::vector<Call> result;
        for (const Call& call : camera.CallsOf(kind)) {
            if (PortKey{call.type, call.index} == Port(slot)) result.push_back(call);
        }
        return result;
    }
    std::vector<std::string> PortNames() const {
        std::vector<std::string> names;
        for (const PortRow& row : model.Rows()) names.push_back(row.Port);
        return names;
    }

    ScratchConfig config;
    EngineFixture f{config.Path()};
    CVelterraDoc& doc = f.doc;
    ScriptedCamera& camera = f.camera;
    RecordingUi& ui = f.ui;
    PortRegistry& registry = *f.registry;
    std::set<PortKey> missing;
    std::set<PortKey> silent;
    ProbeTable table;
    OpenCameraModel model{doc, table};

    static constexpr uint32_t kOtherProcess = 1;  // init: alive on every system
    const uint32_t self = PortRegistry::SelfId();
};

}  // namespace enginetest
