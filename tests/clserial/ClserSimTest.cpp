// The simulator's clser library: Camera Link ports over pseudo-terminals, with the transport's
// real time-outs against a scripted camera.
#include <gtest/gtest.h>

#include <chrono>
#include <numeric>

#include "FakeCamera.h"
#include "FrameCodec.h"
#include "OwnProcess.h"
#include "clport.h"

using namespace velterra::test;
using std::chrono::milliseconds;

namespace {

long long ElapsedMs(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

TEST(ClserSim, SerialIndexFindsItsLineInTheEnvironmentThenInClserIni) {
    FakeCamera first;
    FakeCamera second;
    first.Script({Step::AfterShortFrame().Ack()});
    second.Script({Step::AfterShortFrame().Ack()});
    const std::string ini = "[DLL]\n0=clsersim.dll\n[Simulator]\nPort0=" + first.Path() +
                            "\nPort1=/nonexistent/velterra-line\n";
    const ChildResult run =
        RunInOwnProcess(ini,
                        [](const std::filesystem::path&) {
                            std::string out = OpenEach({0, 1, 2}, 57600) + " ";
                            uint8_t data[2] = {0x12, 0x34};
                            out += std::to_string(CLS_CommandPort(0, 0x40, 2, data));
                            out += std::to_string(CLS_CommandPort(1, 0x41, 1, data));
                            return out;
                        },
                        {{"VELTERRA_CLSER1", second.Path()}});
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:1 1:1 2:0 11");
    EXPECT_EQ(first.Received(), (Bytes{0x02, 0x40, 0x02, 0x12, 0x34, 0x64, 0x03}));
    EXPECT_EQ(second.Received(), (Bytes{0x02, 0x41, 0x01, 0x12, 0x52, 0x03}));
}

TEST(ClserSim, LineServesOnePortAtATimeAndIsFreeAfterTheClose) {
    FakeCamera camera;
    const ChildResult run =
        RunInOwnProcess("[DLL]\n0=clsersim.so\n",
                        [](const std::filesystem::path&) {
                            std::string out = OpenEach({0, 1}, 9600);
                            CLS_ClosePort(0);
                            return out + " " + OpenEach({1, 0}, 9600);
                        },
                        {{"VELTERRA_CLSER0", camera.Path()}, {"VELTERRA_CLSER1", camera.Path()}});
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:1 1:0 1:1 0:0");
}

TEST(ClserSim, ShortFrameReplyMustArriveWithin400Ms) {
    FakeCamera camera;
    const Bytes reply = ShortReply(0x21, {9, 8, 7, 6});
    camera.Script({Step::AfterShortFrame().Ack(), Step::Now().After(milliseconds(450)).Send(reply),
                   Step::AfterShortFrame().Ack(),
                   Step::Now().After(milliseconds(1000)).Send(reply)});
    const ChildResult run = RunInOwnProcess(
        "[DLL]\n0=clsersim.dll\n",
        [](const std::filesystem::path&) {
            std::string out = OpenEach({0}) + "\n";
            for (int round = 0; round < 2; ++round) {
                uint8_t got[4] = {0xEE, 0xEE, 0xEE, 0xEE};
                const auto start = std::chrono::steady_clock::now();
                const int32_t result = CLS_ReadWritePort(0, 0, 0x21, 4, got);
                const long long took = ElapsedMs(start);
                out += std::to_string(result) + " " + Hex(got, 4);
                // The failed round also clears the late reply off the line before it returns.
                const long long limit = round == 0 ? 950 : 2500;
                out += took >= 300 && took < limit ? " in time\n"
                                                   : " took " + std::to_string(took) + "\n";
            }
            return out;
        },
        {{"VELTERRA_CLSER0", camera.Path()}});
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:1\n1 09 08 07 06 in time\n0 EE EE EE EE in time\n");
}

TEST(ClserSim, MbAndUnframedTransfersCrossThePseudoTerminalWhole) {
    FakeCamera camera;
    Bytes table(3000);
    std::iota(table.begin(), table.end(), 7);
    Bytes block(5000);
    std::iota(block.begin(), block.end(), 3);
    camera.Script({Step::AfterMbFrame().Ack().Send(MbReply(0x61, table)),
                   Step::AfterBytes(block.size()).Send({0xA5})});
    const ChildResult run = RunInOwnProcess(
        "[DLL]\n0=clsersim.dll\n",
        [&](const std::filesystem::path&) {
            std::string out = OpenEach({1}, 115200, 1) + " ";
            Bytes got(3000);
            uint16_t length = 0;
            out += std::to_string(
                CLS_ReadWritePort_MB(1, 0, 0x61, 0, nullptr, 3000, &length, got.data()));
            out += " " + std::to_string(length) + (got == table ? " same " : " differs ");
            out += std::to_string(CLS_ReadWritePortDirect(1, 1, 5000, block.data()));
            uint8_t answer = 0;
            out += std::to_string(CLS_ReadWritePortDirect(1, 0, 1, &answer));
            out += " " + Hex(&answer, 1);
            return out;
        },
        {{"VELTERRA_CLSER1", camera.Path()}});
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "1:1 1 3000 same 11 A5");
    Bytes expected = velterra::codec::EncodeMbFrame(false, 0x61, {});
    expected.insert(expected.end(), block.begin(), block.end());
    EXPECT_EQ(camera.Received(), expected);
}
