// Port type 0 of the protocol library over the simulator's clser library: model identification
// with kernel detection, then an MB exchange on the reopened port.
#include <gtest/gtest.h>

#include "FakeCamera.h"
#include "OwnProcess.h"
#include "clport.h"
#include "velterradll.h"

using namespace velterra::test;

TEST(ClserProtocol, ModelIdentificationReopensACameraLinkPortWithTheDetectedKernel) {
    FakeCamera camera;
    Bytes model = {'V', 'L', '-', 'L', 'S', '2', '0', '4', '8', '-', '1', '0', 'C', 'M'};
    model.resize(20, 0);
    camera.Script({Step::AfterShortFrame().Ack().Send(ShortReply(0x01, model)),
                   Step::AfterMbFrame().Ack().Send(MbReply(0x30, {0x34, 0x12}))});
    const ChildResult run = RunInOwnProcess(
        "[DLL]\n0=clsersim.dll\n",
        [](const std::filesystem::path&) {
            uint8_t kernel = 0xEE;
            char text[64] = {};
            std::string out =
                std::to_string(tvr_GetModelInformation(0, 1, 57600, 0x01, 20, &kernel, text, 1));
            out += " " + std::to_string(kernel) + " " + text + " ";
            uint8_t queried = 0xEE;
            out += std::to_string(CLS_QueryCamKernel(1, &queried));
            out += std::to_string(queried) + " ";
            uint8_t value[2] = {};
            out += std::to_string(tvr_ReadWritePort(0, 1, 0, 0x30, 2, value));
            out += " " + Hex(value, 2);
            return out;
        },
        {{"VELTERRA_CLSER1", camera.Path()}});
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "1 1 VL-LS2048-10CM 11 1 34 12");
    EXPECT_EQ(camera.Received(), (Bytes{0x02, 0x01, 0x94, 0x95, 0x03,           // short read
                                        0x02, 0x30, 0x80, 0x00, 0xB0, 0x03}));  // MB read
}
