// velterra-cli ports against simulated cameras on several COM and Camera Link ports at once,
// missing ports, a camera that never answers, and ports another running copy holds. The
// simulators run in this process; the tool runs as a user runs it, on a registry of this test.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "CliRun.h"
#include "SimulatedCamera.h"
#include "connect/OpenCameraModel.h"
#include "core/PortRegistry.h"
#include "core/VelterraDoc.h"

using namespace velterra;

namespace {

using velterra::sim::SimulatedCamera;
constexpr int kCom1 = 6, kCom2 = 7, kCom3 = 8, kCom4 = 9;

class PortsCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        registryName_ = "/velterra-ports-test-" + std::to_string(getpid());
        PortRegistry::Unlink(registryName_);
        setenv(PortRegistry::kNameVariable, registryName_.c_str(), 1);
        // Every port leads nowhere unless a test puts a camera behind it.
        missing_ = "/tmp/velterra-ports-missing-" + std::to_string(getpid());
        for (const char* name : {"VELTERRA_COM1", "VELTERRA_COM2", "VELTERRA_COM3", "VELTERRA_COM4",
                                 "VELTERRA_CLSER0", "VELTERRA_CLSER1"}) {
            setenv(name, missing_.c_str(), 1);
        }
    }
    void TearDown() override {
        cameras_.clear();
        PortRegistry::Unlink(registryName_);
    }

    // A simulated camera of the sample configuration behind the variable's port.
    SimulatedCamera& Camera(const char* variable, const std::string& model, double dropRate = 0.0) {
        velterra::sim::SimulatorOptions options;
        options.configDir = VELTERRA_CONFIG_DIR;
        options.model = model;
        options.dropRate = dropRate;
        auto camera = std::make_unique<SimulatedCamera>(options);
        std::string error;
        EXPECT_TRUE(camera->Start(&error)) << error;
        setenv(variable, camera->SlavePath().c_str(), 1);
        cameras_.push_back(std::move(camera));
        return *cameras_.back();
    }

    CliResult Ports(const std::string& arguments) {
        return RunCli("--dir '" VELTERRA_CONFIG_DIR "' " + arguments);
    }
    std::unique_ptr<PortRegistry> Registry() {
        auto registry = PortRegistry::Open(registryName_);
        EXPECT_NE(registry, nullptr);
        return registry;
    }

    std::string registryName_;
    std::string missing_;
    std::vector<std::unique_ptr<SimulatedCamera>> cameras_;
};

// The id of a process that has ended.
uint32_t EndedProcessId() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return static_cast<uint32_t>(child);
}

TEST_F(PortsCommandTest, ScanListsTheUsablePortsWithTheirStatus) {
    Camera("VELTERRA_COM1", "LS-4096M12");
    Camera("VELTERRA_COM2", "LS-2048C", 1.0);  // never answers
    SimulatedCamera& held = Camera("VELTERRA_COM4", "LS-4096M12");
    Camera("VELTERRA_CLSER0", "LS-2048C");
    auto registry = Registry();
    registry->SetOwner(kCom4, static_cast<uint32_t>(getpid()));  // this process holds COM4
    registry->SetOwner(kCom1, EndedProcessId());                 // left by a copy that died

    const CliResult result = Ports("ports");

    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "Port     Status                 Remote Device\n"
              "clser-0                         Existed, but disconnected\n"
              "COM1                            Existed, but disconnected\n"
              "COM2                            None/Busy\n"
              "COM4     Used by other process\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(held.FrameCount(), 0u);
    for (int slot : {0, kCom1, kCom2}) EXPECT_EQ(registry->Owner(slot), PortRegistry::kFree);
    for (int slot : {1, 2, 3, 4, 5, kCom3}) {
        EXPECT_EQ(registry->Owner(slot), PortRegistry::kFailed) << slot;
    }
    EXPECT_EQ(registry->Owner(kCom4), static_cast<uint32_t>(getpid()));
    EXPECT_EQ(registry->Tag(kCom4), "RSC");
    EXPECT_EQ(registry->Tag(0), "CLS");
}

TEST_F(PortsCommandTest, ForcedPortIsIdentifiedAloneAndFreedAtExit) {
    Camera("VELTERRA_COM4", "LS-4096M12");
    Camera("VELTERRA_CLSER0", "LS-2048C");

    CliResult result = Ports("ports --force COM4");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "Port  Status  Remote Device\n"
              "COM4  Used    Connected to [LS-4096M12]\n"
              "Model: LS-4096M12\n");
    auto registry = Registry();
    EXPECT_EQ(registry->Owner(kCom4), PortRegistry::kFree);
    for (int slot = 0; slot < kCom4; ++slot) {
        EXPECT_EQ(registry->Owner(slot), PortRegistry::kFailed) << slot;
    }

    result = Ports("ports --force card0/port0 --json --baud 19200");
    EXPECT_EQ(result.status, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["baudRate"], 19200);
    EXPECT_EQ(json["connected"], true);
    EXPECT_EQ(json["model"], "LS-2048C");
    EXPECT_EQ(json["ports"], nlohmann::json::parse(R"([{"port": "clser-0", "slot": 0,
        "status": "Used", "remoteDevice": "Connected to [LS-2048C]"}])"));
    EXPECT_EQ(registry->Owner(0), PortRegistry::kFree);

    // A port that does not open stays listed, as failed.
    result = Ports("ports --force com3");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Port  Status  Remote Device\nCOM3  Failed  None/Busy\n");
    EXPECT_NE(result.err.find("cannot open COM3: " + missing_ + " does not exist"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(registry->Owner(kCom3), PortRegistry::kFailed);

    // The sample clser.ini lists one card.
    result = Ports("ports --force card1/port1");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Choose Error Card! Please choose an effective card!\n");

    for (const char* wrong :
         {"ports --force COM1", "ports --force card3/port0", "ports --baud 14400",
          "--baud 14400 ports", "ports --force", "ports COM3"}) {
        result = Ports(wrong);
        EXPECT_EQ(result.status, 64) << wrong;
        EXPECT_NE(result.err.find("usage: velterra-cli"), std::string::npos) << wrong;
    }
}

TEST_F(PortsCommandTest, PortConnectedByAnotherProcessIsLeftAlone) {
    SimulatedCamera& camera = Camera("VELTERRA_COM3", "LS-4096M12");
    {
        // A copy of the program in this process connects COM3 as the forced mode does.
        auto registry = Registry();
        registry->WriteTags();
        CVelterraDoc doc(VELTERRA_CONFIG_DIR);
        doc.SetPortRegistry(registry.get());
        OpenCameraModel dialog(doc);
        ASSERT_TRUE(dialog.ConnectOnePort(kCom3));
        const std::size_t frames = camera.FrameCount();

        CliResult result = Ports("ports --force COM3");
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out,
                  "Port  Status                 Remote Device\n"
                  "COM3  Used by other process\n");
        EXPECT_EQ(result.err, "velterra-cli: COM3 is in use by another copy of the program\n");
        result = Ports("ports");
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out,
                  "Port  Status                 Remote Device\n"
                  "COM3  Used by other process\n");
        EXPECT_EQ(camera.FrameCount(), frames);
        EXPECT_EQ(registry->Owner(kCom3), static_cast<uint32_t>(getpid()));
    }  // the document closes its port and frees the slot

    const CliResult result = Ports("ports --force COM3");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("COM3  Used    Connected to [LS-4096M12]\n"), std::string::npos)
        << result.out;
}

}  // namespace
