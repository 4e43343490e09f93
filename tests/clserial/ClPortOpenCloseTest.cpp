// Opening and closing Camera Link ports: baud-rate codes, kernel types, port counts, unload.
#include <gtest/gtest.h>

#include "OwnProcess.h"
#include "clport.h"

using namespace velterra::test;

TEST(ClPortOpen, BaudRatesMapToTheirCodesAndOthersFailWithTheReferenceGivenBack) {
    const std::pair<uint32_t, int> rates[] = {
        {9600, 1},    {19200, 2},   {38400, 4},    {57600, 8}, {115200, 16},
        {230400, 32}, {460800, 64}, {921600, 128}, {14400, 0}, {0, 0},
    };
    const ChildResult run =
        RunInOwnProcess("[DLL]\n0=clsertestfull.dll\n", [&](const std::filesystem::path&) {
            std::string out;
            for (const auto& [baud, code] : rates) {
                out += OpenEach({1}, baud) + " ";
                CLS_ClosePort(1);
            }
            return out + OpenEach({1}, 9600);
        });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "1:1 1:1 1:1 1:1 1:1 1:1 1:1 1:1 1:0 1:0 1:1");
    // Unsupported rates never reach the library, and the failed opens give the reference back.
    std::string expected;
    for (const auto& [baud, code] : rates) {
        expected += "full init 1\n";
        if (code != 0) expected += "full baud 1 " + std::to_string(code) + "\n";
        expected += "full close 1\n";
    }
    expected += "full init 1\nfull baud 1 1\nfull close 1\n";
    EXPECT_EQ(run.calls, expected);
}

TEST(ClPortOpen, RefusedRateFailsTheOpenAndFreesTheLine) {
    const ChildResult run = RunInOwnProcess("[DLL]\n0=clsertestfull.dll\n",
                                            [](const std::filesystem::path&) {
                                                const std::string refused = OpenEach({0}, 57600);
                                                return refused + " " + OpenEach({0});
                                            },
                                            {{"VELTERRA_TESTCLSER_REFUSE_BAUD", "8"}});
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:0 0:1");
    EXPECT_EQ(run.calls,
              "full init 0\nfull baud 0 8\nfull close 0\n"
              "full init 0\nfull baud 0 1\nfull close 0\n");
}

TEST(ClPortOpen, WithoutSetBaudRateAnyRateOpensAtTheGrabbersRate) {
    const ChildResult run =
        RunInOwnProcess("[DLL]\n0=clsertestnobaud.dll\n", [](const std::filesystem::path&) {
            return OpenEach({0, 1}, 14400);
        });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:1 1:1");
    EXPECT_EQ(run.calls, "nobaud init 0\nnobaud init 1\nnobaud close 0\nnobaud close 1\n");
}

TEST(ClPortOpen, KernelQueryAndCloseFollowTheOpenPortList) {
    const ChildResult run = RunInOwnProcess(
        "[DLL]\n0=clsertestfull.dll\n1=clsertestnobaud.dll\n", [](const std::filesystem::path&) {
            uint8_t kernel = 0xEE;
            std::string out;
            auto add = [&out](int32_t result) { out += std::to_string(result) + " "; };
            add(CLS_QueryCamKernel(0, &kernel));
            out += OpenEach({0}, 9600, 1) + " ";
            out += OpenEach({3}, 9600, 0) + " ";
            add(CLS_QueryCamKernel(0, nullptr));
            add(CLS_QueryCamKernel(0, &kernel));
            add(kernel);
            add(CLS_QueryCamKernel(3, &kernel));
            add(kernel);
            add(CLS_ClosePort(2));
            add(CLS_ClosePort(0));
            add(CLS_QueryCamKernel(0, &kernel));
            add(CLS_ClosePort(3));
            add(CLS_ClosePort(3));
            return out;
        });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0 0:1 3:1 0 1 1 1 0 0 1 0 0 0 ");
    // Closed ports are not closed again when the transport unloads.
    EXPECT_EQ(run.calls,
              "full init 0\nfull baud 0 1\nnobaud init 1\nfull close 0\nnobaud close 1\n");
}

TEST(ClPortOpen, UnloadClosesEveryPortStillOpen) {
    const ChildResult run = RunInOwnProcess("[DLL]\n0=clsertestfull.dll\n1=clsertestnobaud.dll\n",
                                            [](const std::filesystem::path&) {
                                                std::string out = OpenEach({0, 1, 2, 3});
                                                CLS_ClosePort(1);
                                                return out;
                                            });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:1 1:1 2:1 3:1");
    const std::string atExit = run.calls.substr(run.calls.find("full close 1\n") + 13);
    EXPECT_EQ(atExit, "full close 0\nnobaud close 0\nnobaud close 1\n");
}
