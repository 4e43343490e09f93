// A Camera Link port end to end: protocol library, transport, the simulator's clser library
// and the simulated camera.
#include <gtest/gtest.h>

#include "OwnProcess.h"
#include "SimulatedCamera.h"
#include "velterradll.h"

using namespace velterra::test;

TEST(ClserSimulator, IdentifiesAndConfiguresTheSimulatedCameraOverClser0) {
    velterra::sim::SimulatorOptions options;
    options.configDir = VELTERRA_CONFIG_DIR;
    options.model = "LS-2048C";
    velterra::sim::SimulatedCamera camera(options);
    std::string error;
    ASSERT_TRUE(camera.Start(&error)) << error;

    const ChildResult run = RunInOwnProcess(
        "[DLL]\n0=clsersim.dll\n",
        [](const std::filesystem::path&) {
            uint8_t kernel = 0xEE;
            char text[64] = {};
            std::string out =
                std::to_string(tvr_GetModelInformation(0, 0, 9600, 0x90, 16, &kernel, text, 1));
            out += " " + std::to_string(kernel) + " " + text + " ";
            const uint8_t period[3] = {0x10, 0x27, 0x00};  // 10000
            out += std::to_string(tvr_CommandPort(0, 0, 0xA6, 3, period));
            uint8_t back[3] = {};
            out += std::to_string(tvr_ReadWritePort(0, 0, 0, 0xA6, 3, back));
            out += " " + Hex(back, 3);
            return out;
        },
        {{"VELTERRA_CLSER0", camera.SlavePath()}});
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "1 0 VLC2048-8-3TC 11 10 27 00");
    EXPECT_EQ(camera.NumberValue(0xA6), 10000u);
}
