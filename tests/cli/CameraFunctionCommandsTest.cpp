// velterra-cli run, pixel-set, fpn-read and fpn-write against velterra-camsim as the legacy
// 8160-pixel camera, with the files in a start-up directory of the test's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "CamsimProcess.h"
#include "CliRun.h"
#include "ScratchCameraTest.h"

using namespace velterra;

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<long> Numbers(const std::string& text) {
    std::vector<long> numbers;
    std::istringstream in(text);
    for (long n; in >> n;) numbers.push_back(n);
    return numbers;
}

class CameraFunctionCommands : public ScratchCameraTest {
  protected:
    CameraFunctionCommands() : ScratchCameraTest("funcs") {}
    void SetUp() override {
        ScratchCameraTest::SetUp();
        config_ = dir_ / "config";
        fs::copy(VELTERRA_CONFIG_DIR, config_);
    }
    void TearDown() override {
        StopCamera();
        ScratchCameraTest::TearDown();
    }

    // The simulated camera of the model on its own pseudo-terminal; COM1 points at it.
    void StartCamera(const std::string& model, const std::string& kernel = "0") {
        camera_.reset();  // the previous camera goes first
        camera_ = std::make_unique<CamsimProcess>(
            dir_, std::vector<std::string>{"--model", model, "--kernel", kernel});
        ASSERT_FALSE(camera_->TerminalPath().empty()) << camera_->Errors();
        setenv("VELTERRA_COM1", camera_->TerminalPath().c_str(), 1);
    }
    void StopCamera() { camera_.reset(); }
    CliResult Cli(const std::string& arguments) {
        return RunCli("--dir '" + config_.string() + "' " + arguments, dir_.string());
    }
    std::string File(const std::string& name) const { return ReadWholeFile(config_ / name); }

    fs::path config_;
    std::unique_ptr<CamsimProcess> camera_;
};

TEST_F(CameraFunctionCommands, OnePixelValueShowsInTheTablesReadBack) {
    StartCamera("LS-8160-4T5500");
    // A PRNU value, entered 0-based as the dialog takes it, then both tables to their files.
    CliResult r = Cli("pixel-set --port COM1 --table prnu --pixel 4080 --value 77");
    EXPECT_EQ(r.status, 0) << r.err;
    r = Cli("fpn-read --port COM1 --progress");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.err).back(), "272/272");
    const std::vector<long> prnu = Numbers(File("PRNUTable.txt"));
    ASSERT_EQ(prnu.size(), 8160u);
    EXPECT_EQ(prnu[4080], 77);
    EXPECT_EQ(prnu[4079], 0);
    EXPECT_EQ(Lines(File("FPNTable.txt")).size(), 816u);
}

TEST_F(CameraFunctionCommands, ImageTableReadInFullAndRequestsRefusedUnsent) {
    StartCamera("LS-8160-4T5500");
    CliResult r = Cli("run --port COM1 --progress ImageRead");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(File("ImageTable.txt")).size(), 816u);
    const auto progress = Lines(r.err);
    ASSERT_EQ(progress.size(), 137u);
    EXPECT_EQ(progress.front(), "0/136");
    EXPECT_EQ(progress.back(), "136/136");

    // A pixel outside the sensor: the dialog's warning, then the refusal; nothing is sent.
    r = Cli("pixel-set --port COM1 --table fpn --pixel 8160 --value 1");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Lines(r.err).at(0), "Please Check Input pixel numer");
    EXPECT_NE(r.err.find("pixel number 8160 (0-based) is outside 0 to 8159"), std::string::npos);
    // A table file that is too short stops the write before its first frame.
    std::ofstream(config_ / "FPNTable.txt") << "1\t2\t3\n";
    std::ofstream(config_ / "PRNUTable.txt") << "1\n";
    r = Cli("fpn-write --port COM1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("holds only 3 readable numbers"), std::string::npos) << r.err;

    EXPECT_EQ(Cli("pixel-set --port COM1 --table both --pixel 1 --value 1").status, 64);
    EXPECT_EQ(Cli("run --port COM1").status, 64);
}

TEST_F(CameraFunctionCommands, BadPixelListsGoToTheCameraAndBack) {
    StartCamera("LS-8192M12", "1");
    std::ofstream(config_ / "BadPixels.txt") << "2\r\n12 34\r\n-7\t8\r\n1\r\n5\t6\r\n";
    CliResult r = Cli("badpixels-write --port COM1");
    EXPECT_EQ(r.status, 0) << r.err;
    fs::remove(config_ / "BadPixels.txt");
    r = Cli("badpixels-read --port COM1");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(File("BadPixels.txt"), "2\n12\t34\n-7\t8\n1\n5\t6\n");

    // A file the camera cannot take is refused before anything is sent.
    std::ofstream(config_ / "BadPixels.txt") << "9\n";
    r = Cli("badpixels-write --port COM1");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read Even 9 "
              "numbers)!\n");
    StopCamera();

    // A camera of short frames has no bad-pixel transfer.
    StartCamera("LS-4096M12");
    r = Cli("badpixels-read --port COM1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("] Reading camera bad pixel positions (command 0xB4) from COM1 is "
                         "failed!"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(File("BadPixels.txt"), "9\n");
}

}  // namespace
