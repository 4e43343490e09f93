// A simulated camera for one test, reachable by the protocol library as RS-232 port index 0
// (COM1), plus small helpers for exchanges through libvelterradll.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "SimulatedCamera.h"
#include "velterradll.h"

namespace velterra::sim::test {

inline constexpr int32_t kRs232 = TVR_PORT_RS232;
inline constexpr int32_t kPort = 0;  // COM1

inline SimulatorOptions SampleOptions(const std::string& model = "LS-4096M12", int kernel = 0) {
    SimulatorOptions options;
    options.configDir = VELTERRA_CONFIG_DIR;
    options.model = model;
    options.kernel = kernel;
    options.busyMs = 600;
    return options;
}

class SimHarness {
  public:
    explicit SimHarness(const SimulatorOptions& options) : camera(options) {
        std::string error;
        started = camera.Start(&error);
        EXPECT_TRUE(started) << error;
        if (started) setenv("VELTERRA_COM1", camera.SlavePath().c_str(), 1);
    }
    ~SimHarness() {
        tvr_ClosePort(kRs232, kPort);
        unsetenv("VELTERRA_COM1");
    }

    // Opens COM1 with the camera's kernel type.
    bool Open() {
        return tvr_OpenPort3(kRs232, kPort, 9600, static_cast<uint8_t>(camera.Options().kernel)) !=
               0;
    }

    bool Write(uint8_t id, std::vector<uint8_t> data) {
        return tvr_ReadWritePort2(kRs232, kPort, 1, id, static_cast<uint16_t>(data.size()),
                                  data.data(), 0, nullptr, nullptr) != 0;
    }

    // Reads `length` bytes; nullopt when the exchange fails.
    std::optional<std::vector<uint8_t>> Read(uint8_t id, uint16_t length) {
        std::vector<uint8_t> buffer(length, 0xEE);
        uint16_t got = 0;
        if (tvr_ReadWritePort2(kRs232, kPort, 0, id, 0, nullptr, length, &got, buffer.data()) ==
            0) {
            return std::nullopt;
        }
        if (camera.Options().kernel == 1) buffer.resize(got);
        return buffer;
    }

    // A raw table block the host wrote has been stored (the host does not wait for that).
    bool WaitForStoredBlock() {
        return camera.WaitForRecord(
            [](const FrameRecord& r) {
                return r.kind == FrameRecord::Kind::kRaw &&
                       r.outcome.find("stored") != std::string::npos;
            },
            std::chrono::seconds(5));
    }

    SimulatedCamera camera;
    bool started = false;
};

}  // namespace velterra::sim::test
