// velterra-cli identify, list, get and set against velterra-camsim, each program run as a user
// runs it: the simulated camera on its own pseudo-terminal, COM1 pointed at it, and a port
// registry of this test alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <thread>

#include "CliRun.h"
#include "ScratchCameraTest.h"
#include "connect/AccessCode.h"
#include "core/PortRegistry.h"

using namespace velterra;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kCamsim = VELTERRA_BIN_DIR "/velterra-camsim";
constexpr const char* kCli = VELTERRA_BIN_DIR "/velterra-cli";
constexpr int kCom1Slot = 6;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A child process whose standard output and error go to files.
class Child {
  public:
    Child(const std::vector<std::string>& argv, const fs::path& out, const fs::path& err) {
        pid_ = fork();
        if (pid_ == 0) {
            const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(o, 1);
            dup2(e, 2);
            std::vector<char*> args;
            for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
    }
    ~Child() {
        if (pid_ > 0 && !waited_) {
            kill(pid_, SIGKILL);
            Wait();
        }
    }
    pid_t Pid() const { return pid_; }
    int Wait() {
        int status = 0;
        waitpid(pid_, &status, 0);
        waited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

  private:
    pid_t pid_ = -1;
    bool waited_ = false;
};

class CameraCommandsTest : public ScratchCameraTest {
  protected:
    CameraCommandsTest() : ScratchCameraTest("camcmd") {}
    void TearDown() override {
        StopCamera();
        ScratchCameraTest::TearDown();
    }

    // Starts a sample camera (the 4-tap one unless named) with the given extra options; COM1
    // points at it.
    void StartCamera(std::vector<std::string> extra = {}, const std::string& model = "LS-4096M12") {
        std::ofstream(dir_ / "values.ini") << "[Simulator]\n0xA6=2500\n0xA0=CC1\n"
                                              "0x41=SN-0042\n0x44=line 7\n0x53=Service\n";
        std::vector<std::string> argv = {
            kCamsim, "--dir",    VELTERRA_CONFIG_DIR,           "--model",
            model,   "--values", (dir_ / "values.ini").string()};
        argv.insert(argv.end(), extra.begin(), extra.end());
        // The child truncates its output only once it runs: an old file would hand the previous
        // camera's terminal to the next command.
        fs::remove(dir_ / "camsim.out");
        camera_ = std::make_unique<Child>(argv, dir_ / "camsim.out", dir_ / "camsim.err");
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        std::string path;
        while (Clock::now() < deadline) {
            const auto lines = Lines(ReadWholeFile(dir_ / "camsim.out"));
            if (!lines.empty()) {
                path = lines[0];
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ASSERT_FALSE(path.empty()) << ReadWholeFile(dir_ / "camsim.err");
        setenv("VELTERRA_COM1", path.c_str(), 1);
    }
    void StopCamera() {
        if (!camera_) return;
        kill(camera_->Pid(), SIGTERM);
        camera_->Wait();
        camera_.reset();
    }

    CliResult Cli(const std::string& arguments,
                  const std::string& configDir = VELTERRA_CONFIG_DIR) {
        return RunCli("--dir '" + configDir + "' " + arguments);
    }
    std::unique_ptr<PortRegistry> Registry() { return PortRegistry::Open(registryName_); }

    std::unique_ptr<Child> camera_;
};

std::string AccessCode() {
    std::string code;
    for (int digit : kAccessCodeDigits) code.push_back(static_cast<char>('0' + digit));
    return code;
}

TEST_F(CameraCommandsTest, IdentifyPrintsTheModelAndLeavesThePortFree) {
    StartCamera();
    const CliResult result = Cli("identify --port COM1");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "Model text: VLT4096-12-4T\nModel name: LS-4096M12\n"
              "Model command file: LS4096M12.ini\n");
    EXPECT_EQ(result.err, "");
    auto registry = Registry();
    ASSERT_NE(registry, nullptr);
    EXPECT_EQ(registry->Owner(kCom1Slot), PortRegistry::kFree);
    EXPECT_EQ(registry->Tag(kCom1Slot), "RSC");
    EXPECT_EQ(registry->Tag(0), "CLS");
    // The port was closed properly: a second run opens it again.
    EXPECT_EQ(Cli("identify --port com1").status, 0);
}

TEST_F(CameraCommandsTest, IdentifyFailuresExitWithTheMessageAndNeverHang) {
    // A model text the configuration does not know.
    const fs::path config = dir_ / "config";
    fs::copy(VELTERRA_CONFIG_DIR, config);
    std::ofstream(config / "CAM_VL.ini", std::ios::app) << "";
    {
        std::ifstream in(config / "CAM_VL.ini");
        std::stringstream text;
        text << in.rdbuf();
        std::string changed = std::regex_replace(text.str(), std::regex("VLT4096-12-4T="), "X=");
        std::ofstream(config / "CAM_VL.ini") << changed;
    }
    StartCamera();
    CliResult result = Cli("identify --port COM1", config.string());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "Remote device VLT4096-12-4T is ready, but the program can't get the model "
              "information of this device from the configuration file!\n");
    StopCamera();

    // A camera that never answers.
    StartCamera({"--drop-rate", "1"});
    const auto start = Clock::now();
    result = Cli("identify --port COM1");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Can't connect with the remote device using COM1!\n");
    StopCamera();

    // No device at all: the console says where it looked.
    setenv("VELTERRA_COM1", (dir_ / "missing").c_str(), 1);
    result = Cli("identify --port COM1");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(
        result.err.find("cannot open COM1: " + (dir_ / "missing").string() + " does not exist"),
        std::string::npos)
        << result.err;
    EXPECT_EQ(Registry()->Owner(kCom1Slot), PortRegistry::kFailed);

    // Usage problems are told before anything is opened.
    result = Cli("identify --port COM7");
    EXPECT_EQ(result.status, 64);
    EXPECT_NE(result.err.find("unknown port \"COM7\""), std::string::npos);
    EXPECT_EQ(Cli("identify").status, 64);
    EXPECT_EQ(RunCli("--baud fast identify --port COM1").status, 64);
}

TEST_F(CameraCommandsTest, ListShowsTheRowsOfTheLevelInTableOrderWithTheCameraValues) {
    StartCamera();
    CliResult result = Cli("list --port COM1 --level basic");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const auto lines = Lines(result.out);
    const std::vector<std::string> start = {
        "Acquisition/Exposure Mode = Free Run",     "Acquisition/Line Period (x0.1 us) = 2500",
        "Acquisition/Exposure Time (x0.1 us) = 50", "Acquisition/Line Rate (Hz) = 0",
        "Acquisition/Scan Direction = Forward",
    };
    ASSERT_GE(lines.size(), start.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5), start);
    auto has = [&lines](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("Camera Information/Serial Number = SN-0042"));
    EXPECT_TRUE(has("Camera Information/Device User ID = line 7"));
    EXPECT_FALSE(has("Acquisition/Trigger Source = CC1"));  // an advanced row
    for (const auto& line : lines) EXPECT_EQ(line.rfind("Factory/", 0), std::string::npos);

    // JSON: the whole table, values only where the level shows them (here the admin level).
    result = Cli("list --port COM1 --level admin --json --password " + AccessCode());
    EXPECT_EQ(result.status, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["ModelName"], "LS-4096M12");
    ASSERT_EQ(json["Blocks"].size(), 6u);
    EXPECT_EQ(json["Blocks"][5]["DisplayName"], "Factory");
    EXPECT_EQ(json["Blocks"][5]["Rows"][3]["Command"]["ValueText"], "Service");
    EXPECT_EQ(json["Blocks"][0]["Rows"][2]["Command"]["ValueText"], "");  // basic row
}

TEST_F(CameraCommandsTest, ListTalksMbFramesToACameraWhoseModelTextMarksKernelOne) {
    StartCamera({"--kernel", "1"}, "LS-8192M12");
    CliResult result = Cli("list --port COM1 --level basic");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const auto lines = Lines(result.out);
    const std::vector<std::string> start = {
        "Acquisition/Exposure Mode = Free Run", "Acquisition/Line Period (x0.1 us) = 2500",
        "Acquisition/Exposure Time (x0.1 us) = 50", "Acquisition/Line Rate (Hz) = 0"};
    ASSERT_GE(lines.size(), start.size()) << result.out;
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4), start);

    // Writes over MB frames, committed as the window commits them: the exposure beyond the
    // line period moves the period along (ratio 50 / 2500), and a row's window command that
    // the console cannot run is told.
    result =
        Cli("set --port COM1 'Acquisition/Exposure Time (x0.1 us)=5000' "
            "'Output/Load User Set=User Set 1'");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "Acquisition/Exposure Time (x0.1 us) = 5000\n"
              "Acquisition/Line Period (x0.1 us) = 250000\n"
              "Output/Load User Set = User Set 1\n");
    EXPECT_EQ(result.err,
              "velterra-cli: Output/Load User Set asks for window command 37000 after its write, "
              "which the console cannot run\n");

    // Forced short frames: the camera reads its model text but answers nothing else.
    result = RunCli("--dir '" + std::string(VELTERRA_CONFIG_DIR) + "' --kernel 0 list --port COM1");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Can't communicate with the remote device using COM1!\n");
    result = RunCli("--kernel 2 list --port COM1");
    EXPECT_EQ(result.status, 64);
    EXPECT_EQ(result.err, "velterra-cli: --kernel needs auto, 0 or 1, not \"2\"\n");
}

TEST_F(CameraCommandsTest, SetChecksEverythingBeforeWritingThenGetReadsItBack) {
    StartCamera();
    CliResult result =
        Cli("set --port COM1 'Acquisition/Line Period (x0.1 us)=1234' "
            "'Acquisition/Trigger Source=External' 'Camera Information/Device User ID=cell-3'");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "Acquisition/Line Period (x0.1 us) = 1234\n"
              "Acquisition/Trigger Source = External\n"
              "Camera Information/Device User ID = cell-3\n");

    // One bad value stops all of them: nothing is written.
    result =
        Cli("set --port COM1 'Acquisition/Line Period (x0.1 us)=4321' "
            "'Acquisition/Exposure Time (x0.1 us)=49' 'Acquisition/Line Rate (Hz)=5' "
            "'Acquisition/Scan Direction=Sideways' 'Acquisition/Trigger Delay (ns)=1e3' "
            "'Camera Information/Device User ID=" +
            std::string(33, 'u') + "' 'Nowhere/Nothing=1'");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(Lines(result.err),
              (std::vector<std::string>{
                  "velterra-cli: cannot set Acquisition/Exposure Time (x0.1 us): 49 is outside "
                  "50..1000000",
                  "velterra-cli: cannot set Acquisition/Line Rate (Hz): it is read-only",
                  "velterra-cli: cannot set Acquisition/Scan Direction: \"Sideways\" is not one "
                  "of its items (\"Forward\", \"Reverse\")",
                  "velterra-cli: cannot set Acquisition/Trigger Delay (ns): \"1e3\" is not a "
                  "decimal number in 0..2000000",
                  "velterra-cli: cannot set Camera Information/Device User ID: the text is longer "
                  "than 32 characters",
                  "velterra-cli: \"Nowhere/Nothing=1\" names no parameter of model LS-4096M12 "
                  "(write \"Block/Row=VALUE\"; velterra-cli list shows the names)"}));

    result =
        Cli("get --port COM1 'Acquisition/Line Period (x0.1 us)' 'Acquisition/Trigger Source' "
            "'Camera Information/Device User ID'");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "Acquisition/Line Period (x0.1 us) = 1234\n"
              "Acquisition/Trigger Source = External\n"
              "Camera Information/Device User ID = cell-3\n");
    result = Cli("get --port COM1 'Acquisition/Nothing'");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
}

TEST_F(CameraCommandsTest, PasswordLevelRowsNeedTheAccessCode) {
    StartCamera();
    CliResult result = Cli("get --port COM1 'Factory/Factory Mode'");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("password-level"), std::string::npos);
    result = Cli("set --port COM1 'Factory/Factory Mode=Normal'");
    EXPECT_EQ(result.status, 1);
    result = Cli("get --port COM1 --password 000000 'Factory/Factory Mode'");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Incorrect password!\n");
    result = Cli("list --port COM1 --level admin");
    EXPECT_EQ(result.status, 1);

    result = Cli("set --port COM1 --password " + AccessCode() + " 'Factory/Factory Mode=Normal'");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Factory/Factory Mode = Normal\n");
}

TEST_F(CameraCommandsTest, ExchangeFailuresAreLoggedWithTheTimeAndReflectedInTheStatus) {
    const std::regex logLine(
        R"(\[\d\d:\d\d:\d\d\] Reading \[[^\]]+\]->\[[^\]]+\] from COM1 \((value|string|drop-item)\) is failed!)");
    const std::regex silent(R"(\[\d\d:\d\d:\d\d\] the camera does not answer on COM1)");
    const std::string names =
        "'Acquisition/Line Period (x0.1 us)' 'Acquisition/Exposure Time (x0.1 us)' "
        "'Acquisition/Exposure Mode' 'Gain and Offset/Black Offset' "
        "'Camera Information/Serial Number' 'Output/ROI Width'";
    // The faults follow the seed; the first seed whose run gets past the connection counts.
    bool sawLogLine = false;
    for (int seed = 1; seed <= 12 && !sawLogLine; ++seed) {
        StartCamera({"--nak-rate", "0.35", "--seed", std::to_string(seed)});
        const auto start = Clock::now();
        const CliResult result = Cli("get --port COM1 " + names);
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
        StopCamera();
        int logLines = 0;
        bool gaveUp = false;
        for (const auto& line : Lines(result.err)) {
            if (std::regex_match(line, logLine)) {
                ++logLines;
            } else if (std::regex_match(line, silent)) {
                gaveUp = true;  // three failures in a row end the run's reads
            } else {
                // Otherwise only the boxes of a connection that failed.
                EXPECT_TRUE(line == "Can't connect with the remote device using COM1!" ||
                            line == "Can't communicate with the remote device using COM1!")
                    << line;
            }
        }
        EXPECT_EQ(result.status == 0, result.err.empty()) << result.err;
        if (logLines > 0) {
            sawLogLine = true;
            if (gaveUp) {
                EXPECT_LE(Lines(result.out).size() + logLines, 6u) << result.out << result.err;
            } else {
                EXPECT_EQ(Lines(result.out).size() + logLines, 6u) << result.out << result.err;
            }
        }
    }
    EXPECT_TRUE(sawLogLine);
}

TEST_F(CameraCommandsTest, AnUnpluggedCameraIsToldOnceAndTheRemainingReadsAreSkipped) {
    StartCamera({"--unplug-after", "12"});
    const auto start = Clock::now();
    const CliResult result = Cli("list --port COM1");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(result.status, 1);
    const auto errors = Lines(result.err);
    ASSERT_GE(errors.size(), 4u) << result.err;
    EXPECT_NE(errors[errors.size() - 1].find("the camera does not answer on COM1"),
              std::string::npos)
        << result.err;
    for (std::size_t i = 0; i + 1 < errors.size(); ++i) {
        EXPECT_NE(errors[i].find("is failed!"), std::string::npos) << errors[i];
    }
    EXPECT_EQ(errors.size(), 4u) << result.err;
}

TEST_F(CameraCommandsTest, ASecondCopyLeavesTheFirstOnesPortAloneAndAnInterruptFreesIt) {
    StartCamera();
    Child list({kCli, "--dir", VELTERRA_CONFIG_DIR, "list", "--port", "COM1"}, dir_ / "list.out",
               dir_ / "list.err");
    auto registry = Registry();
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while ((!registry || registry->Owner(kCom1Slot) != static_cast<uint32_t>(list.Pid())) &&
           Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!registry) registry = Registry();
    }
    ASSERT_NE(registry, nullptr);
    ASSERT_EQ(registry->Owner(kCom1Slot), static_cast<uint32_t>(list.Pid()));

    CliResult second = Cli("identify --port COM1");
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err, "velterra-cli: COM1 is in use by another copy of the program (process " +
                              std::to_string(list.Pid()) + ")\n");
    EXPECT_EQ(registry->Owner(kCom1Slot), static_cast<uint32_t>(list.Pid()));

    // The run stops after the exchange under way, well before the 3 s of an exchange's limit.
    const auto interrupted = Clock::now();
    kill(list.Pid(), SIGTERM);
    EXPECT_EQ(list.Wait(), 128 + SIGTERM);
    EXPECT_LT(Clock::now() - interrupted, std::chrono::milliseconds(2000));
    EXPECT_EQ(registry->Owner(kCom1Slot), PortRegistry::kFree);
    second = Cli("identify --port COM1");
    EXPECT_EQ(second.status, 0) << second.err;
}

}  // namespace
