// velterra-cli lut-write and lut-read against a simulated camera: a workbook written into the
// camera comes back cell for cell, and a failed read leaves no file.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "CliRun.h"
#include "ScratchCameraTest.h"
#include "SimulatedCamera.h"
#include "core/UserInterface.h"
#include "lut/LutWorkbook.h"
#include "lut/WorkbookFile.h"

using namespace velterra;

namespace {

namespace fs = std::filesystem;

class SilentUi : public IUserInterface {
  public:
    void ShowMessage(const std::string&, MessageKind) override {}
};

class LutTransferCommands : public ScratchCameraTest {
  protected:
    LutTransferCommands() : ScratchCameraTest("lutcli") {}

    CliResult Cli(const std::string& arguments) {
        return RunCli(std::string("--dir '") + VELTERRA_CONFIG_DIR + "' " + arguments,
                      dir_.string());
    }
};

TEST_F(LutTransferCommands, AWorkbookWrittenToTheCameraReadsBackTheSame) {
    // The sample 4-tap, 12-bit LS-4096M12 speaks short frames: LUT tables only, no nodes.
    velterra::sim::SimulatorOptions options;
    options.configDir = VELTERRA_CONFIG_DIR;
    options.model = "LS-4096M12";
    velterra::sim::SimulatedCamera camera(options);
    std::string error;
    ASSERT_TRUE(camera.Start(&error)) << error;
    setenv("VELTERRA_COM1", camera.SlavePath().c_str(), 1);

    // Falling and rising curves, alternating by tap.
    std::vector<uint16_t> lut;
    for (int t = 0; t < 4; ++t)
        for (int i = 0; i < 4096; ++i) lut.push_back(static_cast<uint16_t>(t % 2 ? i : 4095 - i));
    SilentUi ui;
    ASSERT_TRUE(WriteLutWorkbook(ui, dir_ / "in.xlsx", false, 12, 4, lut));

    CliResult r = Cli("lut-write --progress --port COM1 in.xlsx");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "0/4\n1/4\n2/4\n3/4\n4/4\n");
    r = Cli("lut-read --port COM1 out.xlsx");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Saved the LUT of LS-4096M12 on COM1 to " + (dir_ / "out.xlsx").string() + "\n");

    Worksheet written, read;
    ASSERT_TRUE(LoadWorksheet(dir_ / "in.xlsx", written, error)) << error;
    ASSERT_TRUE(LoadWorksheet(dir_ / "out.xlsx", read, error)) << error;
    EXPECT_EQ(read.CellCount(), written.CellCount());
    size_t differing = 0;
    written.ForEachCell([&](uint32_t row, uint32_t column, const Worksheet::Cell& cell) {
        differing += read.At(row, column) != cell;
    });
    EXPECT_EQ(differing, 0u);
}

TEST_F(LutTransferCommands, ACameraThatDoesNotAnswerLeavesNoWorkbook) {
    velterra::sim::SimulatorOptions options;
    options.configDir = VELTERRA_CONFIG_DIR;
    options.model = "LS-4096M12";
    velterra::sim::SimulatedCamera camera(options);
    ASSERT_TRUE(camera.Start());
    setenv("VELTERRA_COM1", camera.SlavePath().c_str(), 1);
    // The camera identifies and answers its alive probe, then takes no LUT command.
    fs::path config = dir_ / "config";
    fs::copy(VELTERRA_CONFIG_DIR, config);
    std::string commands = ReadWholeFile(config / "Command.ini");
    commands.replace(commands.find("CommandID=0xB0"), 14, "CommandID=0xEE");
    std::ofstream(config / "Command.ini") << commands;

    CliResult r =
        RunCli("--dir '" + config.string() + "' lut-read --port COM1 out.xlsx", dir_.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("] Reading LUT data of Tap-1 from COM1 is failed!\n"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("Can't read LUT from camera!\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "out.xlsx"));
}

}  // namespace
