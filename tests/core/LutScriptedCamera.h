// A camera's LUT tables and vector nodes behind the protocol table's LUT calls, for the tests
// of the LUT transfers: records every call and fails the taps a test names.
#pragma once
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "core/ProtocolApi.h"

namespace enginetest {

using velterra::ProtocolApi;

struct LutCall {
    bool write = false;
    bool kernel1 = false;  // the ...2 export
    uint8_t command = 0, wait = 0, tap = 0, mode = 0;
    int count = 0;
    std::vector<uint16_t> data;  // written
};

// The camera's LUTs and nodes by tap; taps in failingTaps fail every transfer.
struct LutCamera {
    std::map<int, std::vector<uint16_t>> tables;
    std::map<int, std::vector<uint16_t>> nodes;  // X, Y pairs
    std::set<int> failingTaps;
    std::optional<uint16_t> reportedNodeCount;  // a camera that lies about its node count
    std::vector<LutCall> calls;

    void Install(ProtocolApi& api) {
        api.LUTMassWrite = [this](int32_t, int32_t, uint8_t command, uint8_t tap, int16_t count,
                                  const uint16_t* data) {
            return Write({true, false, command, 0, tap, 0, count, {}}, data);
        };
        api.LUTMassWrite2 = [this](int32_t, int32_t, uint8_t command, uint8_t wait, uint8_t tap,
                                   uint8_t mode, int16_t, int16_t count, const uint16_t* data) {
            return Write({true, true, command, wait, tap, mode, count, {}}, data);
        };
        api.LUTMassRead = [this](int32_t, int32_t, uint8_t command, uint8_t tap, int16_t count,
                                 uint16_t* buffer) {
            return Read({false, false, command, 0, tap, 0, count, {}}, nullptr, buffer);
        };
        api.LUTMassRead2 = [this](int32_t, int32_t, uint8_t command, uint32_t, uint8_t tap,
                                  uint8_t mode, int16_t, int16_t count, uint16_t* entriesRead,
                                  uint16_t* buffer) {
            return Read({false, true, command, 0, tap, mode, count, {}}, entriesRead, buffer);
        };
    }
    std::vector<LutCall> Writes(uint8_t mode) const {
        std::vector<LutCall> result;
        for (const LutCall& c : calls)
            if (c.write && c.mode == mode) result.push_back(c);
        return result;
    }

  private:
    int32_t Write(LutCall call, const uint16_t* data) {
        const size_t values = call.mode == 1 ? 2 * call.count : call.count;
        call.data.assign(data, data + values);
        calls.push_back(call);
        if (failingTaps.count(call.tap)) return 0;
        (call.mode == 1 ? nodes : tables)[call.tap] = call.data;
        return 1;
    }
    int32_t Read(LutCall call, uint16_t* entriesRead, uint16_t* buffer) {
        calls.push_back(call);
        if (failingTaps.count(call.tap)) return 0;
        if (call.mode == 1) {
            const std::vector<uint16_t>& n = nodes[call.tap];
            std::copy(n.begin(), n.end(), buffer);
            *entriesRead = reportedNodeCount.value_or(static_cast<uint16_t>(n.size() / 2));
            return 1;
        }
        std::vector<uint16_t>& t = tables[call.tap];
        t.resize(call.count);
        std::copy(t.begin(), t.end(), buffer);
        if (entriesRead != nullptr) *entriesRead = static_cast<uint16_t>(call.count);
        return 1;
    }
};

}  // namespace enginetest
