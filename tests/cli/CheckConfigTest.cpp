#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CliRun.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A copy of the sample configuration to plant one fault in.
class ConfigCopy {
  public:
    ConfigCopy() {
        char pattern[] = "/tmp/velterra_check_XXXXXX";
        if (mkdtemp(pattern) != nullptr) dir_ = pattern;
        std::filesystem::copy(VELTERRA_CONFIG_DIR, dir_);
    }
    ~ConfigCopy() { std::filesystem::remove_all(dir_); }

    void Replace(const std::string& file, const std::string& from, const std::string& to) {
        std::string text = ReadWholeFile(dir_ / file);
        std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        std::ofstream(dir_ / file, std::ios::binary) << text;
    }
    CliResult Run(const std::string& args) {
        return RunCli("--dir '" + dir_.string() + "' " + args);
    }
    CliResult Check() { return Run("check-config"); }

  private:
    std::filesystem::path dir_;
};

TEST(CheckConfig, SampleConfigurationIsClean) {
    CliResult r = RunCli("--dir '" VELTERRA_CONFIG_DIR "' check-config");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}

TEST(CheckConfig, ReportsEveryPlantedFaultWithFileSectionAndKey) {
    CliResult r = RunCli("--dir '" VELTERRA_FIXTURES_DIR "/config_faults' check-config");
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> expected = {
        // CAM_VL.ini
        "CAM_VL.ini:5: [Branch_Type] 1: fewer than four double quotes: the entry is skipped",
        "CAM_VL.ini:8: [Branch_Type] 4: no model command file named",
        "CAM_VL.ini:9: [Branch_Type] 5: model command file \"Gone.ini\" not found",
        "CAM_VL.ini:10: [Branch_Type] 7: entry beyond MaxBranchTypeNum (6) is never read",
        "CAM_VL.ini:22: [Model_Info_DB] DANGLING-TEXT: points at Branch_Type entry 9, which does "
        "not exist",
        "CAM_VL.ini:20: [Model_Info_DB] NOFILE-TEXT: points at Branch_Type entry 4, which names "
        "no model command file",
        "CAM_VL.ini:23: [Model_Info_DB] MODEL-TEXT-OF-20-CHR: model text longer than CharLength",
        // a model file that fails to load
        "Fail.ini:1: [Overview]: the file fails to load: MaxTxUnitBits 9 is odd",
        // a menu database that opens but whose menus fail to load, one finding per warning
        "Fail.ini:2: [Overview] MenuDB: menu database \"broken_menu.mdb\" does not load: The menu "
        "database \"" VELTERRA_FIXTURES_DIR
        "/config_faults/broken_menu.mdb\" has no table "
        "\"NoSuchTable\"",
        "Fail.ini:2: [Overview] MenuDB: menu database \"broken_menu.mdb\" does not load: The menu "
        "database \"" VELTERRA_FIXTURES_DIR
        "/config_faults/broken_menu.mdb\" has no table "
        "\"PasswordCommands\"",
        // a model file full of silently accepted mistakes
        "Bad.ini:2: [Overview] MenuDB: menu database \"missing_menu.mdb\" not found",
        "Bad.ini:3: [Overview] ColorCamera: \"Yes\" is not TRUE, FALSE, admin or a number: it "
        "reads as 0",
        "Bad.ini:9: [Overview] 1: block entry does not parse",
        "Bad.ini:10: [Overview] 2: block section missing",
        "Bad.ini:11: [Overview] 3: section name longer than 63 characters is cut",
        "Bad.ini:12: [Overview] 4: entry beyond MaxBlockInfoNum (4) is never read",
        "Bad.ini:19: [Blk] 3: row entry does not parse",
        "Bad.ini:20: [Blk] 4: command section missing",
        "Bad.ini:30: [Range] MaxMinValue: maximum 10 is below minimum 100 as signed numbers: the "
        "range becomes 0 to 10",
        "Bad.ini:35: [Text] CharLength: text of 80 characters does not fit",
        "Bad.ini:42: [List] 1: list item does not parse",
        "Bad.ini:43: [List] 2: item text already at item 0",
        "Bad.ini:48: [Level] EnableAdvancedLevel: \"Yes\" is not TRUE",
        "Bad.ini:50: [Level] CharLength: key repeated (first at line 47)",
        "Bad.ini:54: [Wide] CharLength: CharLength 8 with PureTextValue FALSE: the parameter is "
        "read as text",
        "Bad.ini:60: [Hex] MaxMinValue: \"0xg\" is not a number",
        "Bad.ini:65: [Big] MaxMinValue: \"4294967295\" is beyond the signed 32-bit range",
        "Bad.ini:67: [blk]: section repeated (first at line 14)",
        // Command.ini
        "Command.ini: [WaitCmd]: section missing: the program sends this command by name",
        "Command.ini: [BadPixelsPos]: section missing",
        "Command.ini:2: [GetLEDState] CommandID: \"0X8F\" reads as 0 in the camera functions",
        "Command.ini:14: [FPNPRNURead] Bytes: the read flag (0x80) must be set",
        "Command.ini:17: [OnePixelWrite] CommandID: command 0xC8: this legacy function needs 0xC9",
        "Command.ini:19: [FrnCoef] 1: data byte missing (Bytes gives 2): 0 is sent",
        "Command.ini:25: [PrnuCoef] CommandID: 441 is above 255: only the low 8 bits (0xB9)",
    };
    const std::vector<std::string> lines = Lines(r.err);
    for (const auto& want : expected) {
        bool found = false;
        for (const auto& line : lines) found = found || line.rfind(want, 0) == 0;
        EXPECT_TRUE(found) << "missing finding: " << want;
    }
    // Nothing reported about the clean model, whose menu database loads.
    for (const auto& line : lines) {
        if (line.rfind("Good.ini", 0) == 0) ADD_FAILURE() << "unexpected: " << line;
    }
}

TEST(CheckConfig, OneFaultGivesOneFinding) {
    struct Plant {
        const char* file;
        const char* from;
        const char* to;
        const char* finding;
    } plants[] = {
        {"Command.ini", "[WaitCmd]", "[WaitCommand]", "Command.ini: [WaitCmd]: section missing"},
        {"LS4096M12.ini", "MaxMinValue=4095,1024", "MaxMinValue=1024,4095",
         "LS4096M12.ini:259: [Corr_Target] MaxMinValue: maximum 1024 is below minimum 4095"},
        {"LS4096M12.ini", "MaxMinValue=255,0", "MaxMinValue=256,0",
         "LS4096M12.ini:221: [Gain_Offset] MaxMinValue: maximum 256 does not fit in 1 byte"},
        {"LS2048C.ini", "MaxBlockInfoNum=4", "MaxBlockInfoNum=5",
         "LS2048C.ini:4: [Overview] 4: block entry missing"},
        {"LS8160.ini", "ActiveLength=8160", "ActiveLength=8162",
         "LS8160.ini:4: [Overview]: the file fails to load: ActiveLength 8162 is not a multiple "
         "of TapsNum 4"},
        {"CAM_VL.ini", "VL4T5500-8160=2", "VL4T5500-8160=2\nVLX-8K-NEW=7",
         "CAM_VL.ini:25: [Model_Info_DB] VLX-8K-NEW: points at Branch_Type entry 7"},
        {"Command.ini", "CommandID=0xC5\nBytes=0x80", "CommandID=0xC5\nBytes=0",
         "Command.ini:32: [FPNPRNURead] Bytes: the read flag (0x80) must be set"},
    };
    for (const auto& plant : plants) {
        ConfigCopy copy;
        copy.Replace(plant.file, plant.from, plant.to);
        CliResult r = copy.Check();
        EXPECT_EQ(r.status, 1) << plant.finding;
        std::vector<std::string> lines = Lines(r.err);
        ASSERT_EQ(lines.size(), 1u) << r.err;
        EXPECT_EQ(lines[0].rfind(plant.finding, 0), 0u) << lines[0];
    }
}

// 100,000 parameters are more than the command table holds: the model is refused, not loaded
// with its last blocks empty.
TEST(CheckConfig, ModelBeyondTheTableCapIsRefusedNotCut) {
    ConfigCopy copy;
    std::string rows = "[Blk_Factory]\nMaxRowInfoNum=100004\n";
    for (int r = 4; r < 100004; ++r) rows += std::to_string(r) + "=Fac_Mode \"Mode\"\n";
    copy.Replace("LS4096M12.ini", "[Blk_Factory]\nMaxRowInfoNum=4\n", rows);
    const std::string reason =
        "[Blk_Factory] MaxRowInfoNum 100004 is more than the table can hold (65536 blocks, rows "
        "and list items in all)";

    CliResult check = copy.Check();
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(Lines(check.err), std::vector<std::string>{"LS4096M12.ini:3: [Overview]: the file "
                                                         "fails to load: " +
                                                         reason});
    CliResult model = copy.Run("model LS-4096M12");
    EXPECT_EQ(model.status, 3);
    EXPECT_EQ(model.out, "");
    EXPECT_NE(model.err.find(": " + reason + "\n"), std::string::npos) << model.err;
}

TEST(CheckConfig, EmptyDirectoryReportsBothMissingFiles) {
    char pattern[] = "/tmp/velterra_empty_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    CliResult r = RunCli(std::string("--dir '") + pattern + "' check-config");
    std::filesystem::remove_all(pattern);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Lines(r.err), (std::vector<std::string>{"CAM_VL.ini: file not found",
                                                      "Command.ini: file not found"}));
    EXPECT_EQ(RunCli("check-config extra").status, 64);
}

}  // namespace
