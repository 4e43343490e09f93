#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "CliRun.h"

namespace {

using nlohmann::json;

class VltCommand : public ::testing::Test {
  protected:
    VltCommand() {
        char pattern[] = "/tmp/velterra_vltcmd_XXXXXX";
        dir = mkdtemp(pattern);
    }
    ~VltCommand() override { std::filesystem::remove_all(dir); }

    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return (dir / name).string();
    }
    static std::string Config() { return std::string("--dir '") + VELTERRA_CONFIG_DIR + "' "; }

    std::filesystem::path dir;
};

std::string B(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s.push_back(static_cast<char>(b));
    return s;
}

TEST_F(VltCommand, ShowsRecordsWithTheRowsTheyReachAndTheValuesALoadGives) {
    Write("a.vlt", "VLT_2_5\r\nLS-4096M12\r\n" + B({0x11, 2, 100, 0}) + B({0xA0, 1, 2}) +
                       B({0x44, 5}) + "line1" + B({0x99, 1, 1}) + B({0x30, 1, 7}) +
                       B({0x43, 1, 99}) + B({0xA6, 3, 0x40}));
    const CliResult r = RunCli(Config() + "vlt a.vlt", dir.string());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "tag VLT_2_5\n"
              "model LS-4096M12\n"
              "command file " VELTERRA_CONFIG_DIR
              "/LS4096M12.ini\n"
              "record 1 at 21: id 0x11, length 2, bytes 64 00\n"
              "  Gain and Offset/Digital Gain (x1/64) = 100\n"
              "record 2 at 25: id 0xA0, length 1, bytes 02\n"
              "  Acquisition/Trigger Source = External\n"
              "record 3 at 28: id 0x44, length 5, bytes 6C 69 6E 65 31\n"
              "  Camera Information/Device User ID = line1 (length 5 where the model says 32)\n"
              "record 4 at 35: id 0x99, length 1, bytes 01\n"
              "  no row has this command\n"
              "record 5 at 38: id 0x30, length 1, bytes 07\n"
              "  Output/Test Pattern (no item has 0x7: the value stays)\n"
              "record 6 at 41: id 0x43, length 1, bytes 63\n"
              "  Camera Information/Sensor Temperature (C) = 99 (read-only: never written to a "
              "camera)\n"
              "end of file inside a record at 44: id 0xA6, length 3, 1 of its bytes (a load "
              "ignores it)\n"
              "6 records\n");
}

TEST_F(VltCommand, JsonWithOverLongRecordsAndAModelThatIsNotConfigured) {
    Write("b.vlt", "VLT_2_5\nLS-9999\n" + B({0x21, 65}) + std::string(65, 'z') + B({0x16, 1, 4}));
    const CliResult r = RunCli(Config() + "vlt b.vlt --json", dir.string());
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("model \"LS-9999\" is not in"), std::string::npos) << r.err;
    const json out = json::parse(r.out);
    EXPECT_EQ(out["Tag"], "VLT_2_5");
    EXPECT_EQ(out["ModelName"], "LS-9999");
    EXPECT_TRUE(out["CommandFilePath"].is_null());
    ASSERT_EQ(out["Records"].size(), 2u);
    EXPECT_EQ(out["Records"][0]["Offset"], 16);
    EXPECT_EQ(out["Records"][0]["Length"], 65);
    EXPECT_EQ(out["Records"][0]["Bytes"].size(), 65u);
    EXPECT_TRUE(out["Records"][0]["Skipped"]);
    EXPECT_EQ(out["Records"][1]["CommandID"], 0x16);
    EXPECT_EQ(out["Records"][1]["Bytes"], json::array({4}));
    EXPECT_FALSE(out["Records"][1]["Skipped"]);
    EXPECT_TRUE(out["Truncated"].is_null());
}

TEST_F(VltCommand, AFileOfAnotherFormatOrNoFileIsRefused) {
    Write("old.vlt", "VLT_2_4\nLS-4096M12\n");
    CliResult r = RunCli(Config() + "vlt old.vlt", dir.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "tag VLT_2_4\n");
    EXPECT_EQ(r.err, "This file isn't the format for Velterra V2.5 and below!\n");

    r = RunCli(Config() + "vlt missing.vlt", dir.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot open"), std::string::npos);
    EXPECT_EQ(RunCli(Config() + "vlt", dir.string()).status, 64);
    EXPECT_EQ(RunCli(Config() + "vlt a.vlt b.vlt", dir.string()).status, 64);
}

TEST_F(VltCommand, InputsThatCannotBeASettingsFileAreRefusedBeforeTheyAreRead) {
    ASSERT_EQ(mkfifo((dir / "fifo.vlt").c_str(), 0600), 0);
    Write("huge.vlt", "VLT_2_5\n");
    std::filesystem::resize_file(dir / "huge.vlt", (64ull << 20) + 1);  // sparse
    std::filesystem::create_directory(dir / "folder.vlt");
    const std::pair<const char*, std::string> cases[] = {
        {"fifo.vlt", " is not a regular file"},
        {"folder.vlt", " is not a regular file"},
        {"huge.vlt", " is larger than 64 MB"},
    };
    for (const auto& [name, problem] : cases) {
        const CliResult r = RunCli(Config() + "vlt " + name, dir.string());
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.err, "velterra-cli: " + (dir / name).string() + problem + "\n") << name;
        // Loading it for viewing says the same under the box's own text.
        const CliResult load = RunCli(Config() + "load " + name, dir.string());
        EXPECT_NE(load.err.find((dir / name).string() + problem), std::string::npos)
            << name << load.err;
    }

    // A model line cut by a NUL names the model before it.
    Write("nul.vlt", "VLT_2_5\nLS-4096M12" + B({0, 'x', 'y'}) + "\n" + B({0xA6, 3, 0x40, 0, 0}));
    const CliResult r = RunCli(Config() + "vlt nul.vlt", dir.string());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("model LS-4096M12\ncommand file "), std::string::npos) << r.out;
}

}  // namespace
