// One parameter whose answer is refused (garbage), comes too late or arrives one byte short
// must not spoil the reads after it, on either transport and in either frame format: every
// other row shows the camera's value and only the faulty row is logged, never shown.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "CliRun.h"
#include "ScratchCameraTest.h"
#include "SimulatedCamera.h"

using namespace velterra;

namespace {

struct FaultCase {
    const char* name;
    const char* port;
    double garbageRate;
    int delayMs;  // later than the transport's acknowledge limit
    double shortRate = 0.0;
    int kernel = 0;
};

void PrintTo(const FaultCase& fault, std::ostream* out) {
    *out << fault.name;
}

class FaultIsolationTest : public ScratchCameraTest,
                           public ::testing::WithParamInterface<FaultCase> {
  protected:
    FaultIsolationTest() : ScratchCameraTest("faults") {}
    void TearDown() override {
        camera_.reset();
        ScratchCameraTest::TearDown();
    }

    std::unique_ptr<velterra::sim::SimulatedCamera> camera_;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_P(FaultIsolationTest, OnlyTheFaultyParameterFailsAndEveryOtherRowHoldsTheCameraValue) {
    const FaultCase& fault = GetParam();
    std::ofstream(dir_ / "values.ini") << "[Simulator]\n0xA6=2500\n0x41=SN-0042\n";
    velterra::sim::SimulatorOptions options;
    options.configDir = VELTERRA_CONFIG_DIR;
    options.model = "LS-4096M12";
    options.valuesFile = (dir_ / "values.ini").string();
    options.faultCommandId = 0xA6;  // Acquisition/Line Period
    options.garbageRate = fault.garbageRate;
    options.delayMs = fault.delayMs;
    options.shortRate = fault.shortRate;
    options.kernel = fault.kernel;
    camera_ = std::make_unique<velterra::sim::SimulatedCamera>(options);
    std::string error;
    ASSERT_TRUE(camera_->Start(&error)) << error;
    setenv("VELTERRA_COM1", camera_->SlavePath().c_str(), 1);
    setenv("VELTERRA_CLSER0", camera_->SlavePath().c_str(), 1);

    // Rows read after the faulty one, of the three kinds (list item, number, text).
    const CliResult result =
        RunCli(std::string("--dir '") + VELTERRA_CONFIG_DIR + "' get --port " + fault.port +
               " 'Acquisition/Line Period (x0.1 us)' "
               "'Acquisition/Exposure Mode' 'Acquisition/Exposure Time (x0.1 "
               "us)' 'Acquisition/Scan Direction' 'Acquisition/Line Rate "
               "(Hz)' 'Camera Information/Serial Number'");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(Lines(result.out), (std::vector<std::string>{
                                     "Acquisition/Exposure Mode = Free Run",
                                     "Acquisition/Exposure Time (x0.1 us) = 50",
                                     "Acquisition/Scan Direction = Forward",
                                     "Acquisition/Line Rate (Hz) = 0",
                                     "Camera Information/Serial Number = SN-0042",
                                 }))
        << result.err;
    const std::regex faultyRow(R"(\[\d\d:\d\d:\d\d\] Reading \[Acquisition\]->\[Line Period )"
                               R"(\(x0\.1 us\)\] from (COM1|clser-0) \(value\) is failed!)");
    const auto errors = Lines(result.err);
    ASSERT_FALSE(errors.empty());
    for (const auto& line : errors) EXPECT_TRUE(std::regex_match(line, faultyRow)) << line;
}

INSTANTIATE_TEST_SUITE_P(
    BothTransports, FaultIsolationTest,
    ::testing::Values(FaultCase{"Rs232Garbage", "COM1", 1.0, 0},
                      FaultCase{"Rs232LateReply", "COM1", 0.0, 3500},
                      FaultCase{"CameraLinkGarbage", "clser-0", 1.0, 0},
                      FaultCase{"CameraLinkLateReply", "clser-0", 0.0, 800},
                      FaultCase{"Rs232ShortReply", "COM1", 0.0, 0, 1.0},
                      FaultCase{"Rs232MbShortReply", "COM1", 0.0, 0, 1.0, 1},
                      FaultCase{"CameraLinkShortReply", "clser-0", 0.0, 0, 1.0},
                      FaultCase{"CameraLinkMbShortReply", "clser-0", 0.0, 0, 1.0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
