// velterra-cli save, load and vlt as a user runs them: against velterra-camsim on its own
// pseudo-terminal (COM1 pointed at it, a port registry of this test alone) and, for a load
// without a camera, against the sample configuration only.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "CamsimProcess.h"
#include "CliRun.h"
#include "ScratchCameraTest.h"
#include "core/PortRegistry.h"

using namespace velterra;

namespace {

namespace fs = std::filesystem;

std::string B(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s.push_back(static_cast<char>(b));
    return s;
}

class SettingsCommands : public ScratchCameraTest {
  protected:
    SettingsCommands() : ScratchCameraTest("vltcli") {}
    void TearDown() override {
        StopCamera();
        ScratchCameraTest::TearDown();
    }

    // The sample 4-tap camera with a few values of its own; COM1 points at it.
    void StartCamera() {
        std::ofstream(dir_ / "values.ini") << "[Simulator]\n0xA6=2500\n0xA0=CC1\n0x44=line 7\n";
        camera_.reset();  // the previous camera goes first
        camera_ = std::make_unique<CamsimProcess>(
            dir_, std::vector<std::string>{"--model", "LS-4096M12", "--values",
                                           (dir_ / "values.ini").string()});
        ASSERT_FALSE(camera_->TerminalPath().empty()) << camera_->Errors();
        setenv("VELTERRA_COM1", camera_->TerminalPath().c_str(), 1);
    }
    void StopCamera() { camera_.reset(); }

    CliResult Cli(const std::string& arguments) {
        return RunCli(std::string("--dir '") + VELTERRA_CONFIG_DIR + "' " + arguments,
                      dir_.string());
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return name;
    }

    static constexpr const char* kLinePeriod = "\"Acquisition/Line Period (x0.1 us)\"";
    static constexpr const char* kTrigger = "\"Acquisition/Trigger Source\"";
    static constexpr const char* kUserId = "\"Camera Information/Device User ID\"";
    std::string Get() {
        return Cli(std::string("get --port COM1 ") + kLinePeriod + " " + kTrigger + " " + kUserId)
            .out;
    }

    std::unique_ptr<CamsimProcess> camera_;
};

TEST_F(SettingsCommands, ASavedSetUpLoadedBackRestoresTheCamera) {
    StartCamera();
    const std::string original =
        "Acquisition/Line Period (x0.1 us) = 2500\nAcquisition/Trigger Source = CC1\n"
        "Camera Information/Device User ID = line 7\n";
    ASSERT_EQ(Get(), original);

    CliResult r = Cli("save --port COM1 setup.vlt");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Saved the settings of LS-4096M12 on COM1 to " +
                         (dir_ / "setup.vlt").string() + "\n");
    const std::string saved = ReadWholeFile(dir_ / "setup.vlt");
    EXPECT_EQ(saved.rfind("VLT_2_5\nLS-4096M12\n" + B({0xA0, 1, 1}), 0), 0u);
    EXPECT_NE(saved.find(B({0xA6, 3, 0xC4, 0x09, 0x00})), std::string::npos);  // 2500
    EXPECT_NE(saved.find(B({0x44, 32}) + "line 7" + std::string(26, '\0')), std::string::npos);
    EXPECT_EQ(saved.find(B({0x40, 16})), std::string::npos);  // read-only model text

    r = Cli(std::string("set --port COM1 ") +
            "\"Acquisition/Line Period (x0.1 us)=3000\" \"Acquisition/Trigger Source=External\" "
            "\"Camera Information/Device User ID=other\"");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_NE(Get(), original);

    r = Cli("load --port COM1 setup.vlt");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("value(s) written"), std::string::npos) << r.out;
    EXPECT_EQ(Get(), original);
}

TEST_F(SettingsCommands, LoadWritesWhatTheCameraTakesLogsWhatItRefusesAndChecksTheModel) {
    StartCamera();
    // A line period of 1 is below the camera's range: the camera refuses it, the load goes on.
    Write("range.vlt", "VLT_2_5\nLS-4096M12\n" + B({0xA6, 3, 1, 0, 0}) + B({0xA0, 1, 2}));
    CliResult r = Cli("load --port COM1 range.vlt");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("] Writing [Acquisition]->[Line Period (x0.1 us)] to COM1 (value [1]) "
                         "is failed!\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.out, "Loaded 2 record(s) of " + (dir_ / "range.vlt").string() +
                         " into LS-4096M12 on COM1: 1 value(s) written, 1 failed\n");
    EXPECT_EQ(Get(),
              "Acquisition/Line Period (x0.1 us) = 2500\nAcquisition/Trigger Source = External\n"
              "Camera Information/Device User ID = line 7\n");

    Write("color.vlt", "VLT_2_5\nLS-2048C\n" + B({0xA0, 1, 0}));
    r = Cli("load --port COM1 color.vlt");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "Model information is mismatched!\r\n(Read file: LS-2048C; Current connection: "
              "LS-4096M12)\n");
    EXPECT_NE(Get().find("Trigger Source = External"), std::string::npos);
}

TEST_F(SettingsCommands, LoadWithoutACameraPrintsTheFilesValuesAsListDoes) {
    Write("a.vlt",
          "VLT_2_5\nLS-4096M12\n" + B({0x11, 2, 100, 0}) + B({0xA0, 1, 2}) + B({0x17, 1, 5}));
    CliResult r = Cli("load a.vlt --level advanced");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::istringstream lines(r.out);
    std::string first;
    std::getline(lines, first);
    EXPECT_EQ(first, "Acquisition/Trigger Source = External");
    EXPECT_EQ(r.out.find("Digital Gain"), std::string::npos);     // a basic row
    EXPECT_EQ(r.out.find("Tap Offset Trim"), std::string::npos);  // password level

    r = Cli("load a.vlt --json");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["ModelName"], "LS-4096M12");
    EXPECT_EQ(json["Blocks"][1]["Rows"][1]["Command"]["ValueText"], "100");
    EXPECT_EQ(json["Blocks"][1]["Rows"][7]["Command"]["ValueText"], "");  // needs the code

    Write("other.vlt", "VLT_2_5\nLS-1\n");
    r = Cli("load other.vlt");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Model information isn't in INI files!\r\n(Read file: LS-1)\n");
    Write("old.vlt", "VLT_2_4\nLS-4096M12\n");
    r = Cli("load old.vlt");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "This file isn't the format for Velterra V2.5 and below!\n");
    EXPECT_EQ(Cli("load --port COM1 a.vlt --json").status, 64);
    EXPECT_EQ(Cli("load").status, 64);
    EXPECT_EQ(Cli("save a.vlt").status, 64);
}

TEST_F(SettingsCommands, DiffListsWhatDiffersAndExitsByTheOutcome) {
    StartCamera();
    const std::string records = B({0xA6, 3, 0xC4, 0x09, 0x00}) + B({0xA0, 1, 1}) + B({0x44, 32}) +
                                "line 7" + std::string(26, '\0');
    Write("part.vlt", "VLT_2_5\nLS-4096M12\n" + records);
    CliResult r = Cli("diff --port COM1 part.vlt");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0 of 3 parameter(s) differ between " + (dir_ / "part.vlt").string() +
                         " and LS-4096M12 on COM1\n");

    r = Cli(std::string("set --port COM1 ") + "\"Acquisition/Line Period (x0.1 us)=3000\" " +
            "\"Acquisition/Trigger Source=External\"");
    ASSERT_EQ(r.status, 0) << r.err;
    r = Cli("diff --port COM1 part.vlt --json");
    EXPECT_EQ(r.status, 1) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["compared"], 3);
    EXPECT_EQ(json["same"], false);
    const auto expected = nlohmann::json::parse(R"json([
        {"parameter": "Acquisition/Trigger Source", "commandId": 160, "file": "CC1",
         "camera": "External", "writable": true},
        {"parameter": "Acquisition/Line Period (x0.1 us)", "commandId": 166, "file": "2500",
         "camera": "3000", "writable": true}])json");
    EXPECT_EQ(json["differences"], expected);

    Write("color.vlt", "VLT_2_5\nLS-2048C\n" + records);
    r = Cli("diff --port COM1 color.vlt");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "Model information is mismatched!\r\n(Read file: LS-2048C; Current connection: "
              "LS-4096M12)\n");
    EXPECT_EQ(Cli("diff --port COM1").status, 64);
    StopCamera();
    EXPECT_EQ(Cli("diff --port COM1 part.vlt").status, 2);
}

}  // namespace
