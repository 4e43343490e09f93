// velterra-cli over Camera Link port clser-0: the sample configuration's clser.ini lists the
// simulator's clser library, whose serial index 0 is pointed at a simulated camera.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "SimulatedCamera.h"
#include "core/PortRegistry.h"

using namespace velterra;

namespace {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs velterra-cli in the sample configuration folder, as a user would.
CliResult RunCli(const std::string& arguments) {
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("velterra-clser-cli-" + std::to_string(getpid()));
    const std::string command =
        "'" VELTERRA_BIN_DIR "/velterra-cli' --dir '" VELTERRA_CONFIG_DIR "' " + arguments + " >'" +
        out.string() + ".out' 2>'" + out.string() + ".err' </dev/null";
    CliResult result;
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadWholeFile(out.string() + ".out");
    result.err = ReadWholeFile(out.string() + ".err");
    std::filesystem::remove(out.string() + ".out");
    std::filesystem::remove(out.string() + ".err");
    return result;
}

class ClserCli : public ::testing::Test {
  protected:
    void SetUp() override {
        registry_ = "/velterra-clser-test-" + std::to_string(getpid());
        PortRegistry::Unlink(registry_);
        setenv(PortRegistry::kNameVariable, registry_.c_str(), 1);
        velterra::sim::SimulatorOptions options;
        options.configDir = VELTERRA_CONFIG_DIR;
        options.model = "LS-2048C";
        camera_ = std::make_unique<velterra::sim::SimulatedCamera>(options);
        std::string error;
        ASSERT_TRUE(camera_->Start(&error)) << error;
        setenv("VELTERRA_CLSER0", camera_->SlavePath().c_str(), 1);
        unsetenv("VELTERRA_CLSER1");
    }
    void TearDown() override {
        camera_.reset();
        PortRegistry::Unlink(registry_);
    }

    std::string registry_;
    std::unique_ptr<velterra::sim::SimulatedCamera> camera_;
};

}  // namespace

TEST_F(ClserCli, IdentifyAndListReachTheCameraOnClser0) {
    const uint8_t period[3] = {0xC4, 0x09, 0x00};  // 2500
    ASSERT_TRUE(camera_->SetValue(0xA6, period));

    CliResult result = RunCli("identify --port clser-0");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "Model text: VLC2048-8-3TC\nModel name: LS-2048C\n"
              "Model command file: LS2048C.ini\n");
    EXPECT_EQ(result.err, "");

    result = RunCli("list --port clser-0 --level basic");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("Acquisition/Line Period (x0.1 us) = 2500\n"), std::string::npos)
        << result.out;
    EXPECT_EQ(result.err, "");
}

TEST_F(ClserCli, PortWithoutALineFailsWithTheReason) {
    const CliResult result = RunCli("identify --port clser-1");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("cannot open clser-1"), std::string::npos) << result.err;
    EXPECT_EQ(camera_->FrameCount(), 0u) << "clser-0's camera must not be asked";
}
