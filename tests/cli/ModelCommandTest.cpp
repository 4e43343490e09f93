#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "CliRun.h"

namespace {

using nlohmann::json;

// What one row of a sample model must load as, written from the model files' intent.
struct ExpectedRow {
    std::string section;
    std::string display;
    int id = 0;
    int charLength = 0;
    int enableRW = 0;
    uint32_t max = 0;
    uint32_t min = 0;
    int sliderStep = 1;
    int enableList = 0;
    int pureText = 0;
    int level = 0;
    int runUICommand = 0;
    std::vector<std::pair<int, std::string>> items;
};

ExpectedRow Number(std::string s, std::string d, int id, int length, int rw, uint32_t max,
                   uint32_t min, int step, int level) {
    return {std::move(s), std::move(d), id, length, rw, max, min, step, 0, 0, level, 0, {}};
}
ExpectedRow Text(std::string s, std::string d, int id, int length, int rw, int level) {
    return {std::move(s), std::move(d), id, length, rw, 0, 0, 1, 0, 1, level, 0, {}};
}
ExpectedRow List(std::string s, std::string d, int id, int rw, int level,
                 std::vector<std::pair<int, std::string>> items, int ui = 0) {
    return {std::move(s), std::move(d), id, 1, rw, 0, 0, 1, 1, 0, level, ui, std::move(items)};
}

struct ExpectedBlock {
    std::string section;
    std::string display;
    std::vector<ExpectedRow> rows;
};

struct ExpectedModel {
    std::string name;
    std::string file;
    int color, fpn, lut, bits, taps, activeLength;
    std::vector<ExpectedBlock> blocks;
};

const std::vector<std::pair<int, std::string>> kOffOn = {{0, "Off"}, {1, "On"}};

ExpectedModel Monochrome() {
    return {
        "LS-4096M12",
        "LS4096M12.ini",
        0,
        0,
        1,
        12,
        4,
        4096,
        {
            {"Blk_Acquisition",
             "Acquisition",
             {List("Acq_TriggerSource", "Trigger Source", 0xA0, 1, 1,
                   {{0, "Internal"}, {1, "CC1"}, {2, "External"}}),
              List("Acq_ExposureMode", "Exposure Mode", 0xA1, 1, 0,
                   {{0, "Free Run"}, {1, "Timed"}, {2, "Pulse Width"}}),
              Number("Acq_LinePeriod", "Line Period (x0.1 us)", 0xA6, 3, 1, 1000000, 100, 49, 0),
              Number("Acq_ExposureTime", "Exposure Time (x0.1 us)", 0xA7, 3, 1, 1000000, 50, 49, 0),
              Number("Acq_LineRate", "Line Rate (Hz)", 0xA8, 4, 0, 200000, 0, 10, 0),
              List("Acq_ScanDirection", "Scan Direction", 0xA9, 1, 0,
                   {{0, "Forward"}, {1, "Reverse"}}),
              List("Acq_PixelFormat", "Pixel Format", 0xAA, 1, 1,
                   {{8, "Mono8"}, {10, "Mono10"}, {12, "Mono12"}}),
              Number("Acq_TriggerDelay", "Trigger Delay (ns)", 0xAB, 4, 1, 2000000, 0, 100, 1)}},
            {"Blk_Gain",
             "Gain and Offset",
             {List("Gain_Analog", "Analog Gain", 0x10, 1, 0, {{0, "x1"}, {1, "x2"}, {2, "x4"}}),
              Number("Gain_Digital", "Digital Gain (x1/64)", 0x11, 2, 1, 1023, 64, 1, 0),
              Number("Gain_Tap1", "Tap 1 Gain", 0x12, 2, 1, 4095, 0, 1, 1),
              Number("Gain_Tap2", "Tap 2 Gain", 0x13, 2, 1, 4095, 0, 1, 1),
              Number("Gain_Tap3", "Tap 3 Gain", 0x14, 2, 1, 4095, 0, 1, 1),
              Number("Gain_Tap4", "Tap 4 Gain", 0x15, 2, 1, 4095, 0, 1, 1),
              Number("Gain_Offset", "Black Offset", 0x16, 1, 1, 255, 0, 1, 0),
              Number("Gain_TapTrim", "Tap Offset Trim", 0x17, 1, 1, 127, 0, 1, 2)}},
            {"Blk_Correction",
             "Correction",
             {List("Corr_FPN", "FPN Correction", 0x20, 1, 0, kOffOn),
              List("Corr_PRNU", "PRNU Correction", 0x21, 1, 0, kOffOn),
              Number("Corr_Target", "PRNU Target Level", 0x22, 2, 1, 4095, 1024, 1, 1),
              List("Corr_LUT", "LUT Enable", 0x23, 1, 1, kOffOn),
              List("Corr_BadPixel", "Bad Pixel Replacement", 0x24, 1, 1, kOffOn),
              List("Corr_FFCStatus", "Flat-Field Status", 0x25, 0, 0,
                   {{0, "Factory"}, {1, "User"}, {255, "Invalid"}}),
              Number("Corr_BlackClamp", "Black Clamp Level", 0x26, 2, 1, 511, 0, 1, 2)}},
            {"Blk_Output",
             "Output",
             {List("Out_TestPattern", "Test Pattern", 0x30, 1, 0,
                   {{0, "Off"}, {1, "Ramp"}, {2, "Checker"}}),
              Number("Out_Taps", "Output Taps", 0x31, 1, 0, 4, 1, 1, 0),
              List("Out_BitDepth", "Output Bit Depth", 0x32, 1, 1,
                   {{8, "8 bits"}, {10, "10 bits"}, {12, "12 bits"}}),
              Number("Out_ROIStart", "ROI Start Pixel", 0x33, 2, 1, 4095, 0, 1, 1),
              Number("Out_ROIWidth", "ROI Width", 0x34, 2, 1, 4096, 4, 1, 1),
              List("Out_LoadUserSet", "Load User Set", 0x36, 1, 0,
                   {{0, "Factory"}, {1, "User Set 1"}, {2, "User Set 2"}}, 37000)}},
            {"Blk_Info",
             "Camera Information",
             {Text("Info_Model", "Model Name", 0x40, 16, 0, 0),
              Text("Info_Serial", "Serial Number", 0x41, 12, 0, 0),
              Text("Info_Firmware", "Firmware Version", 0x42, 8, 0, 0),
              Number("Info_Temperature", "Sensor Temperature (C)", 0x43, 1, 0, 125, 0, 1, 0),
              Text("Info_UserID", "Device User ID", 0x44, 32, 1, 0),
              Number("Info_Hours", "Operating Hours", 0x45, 4, 0, 0x7FFFFFFF, 0, 107374, 1)}},
            {"Blk_Factory",
             "Factory",
             {Text("Fac_Serial", "Serial Number (factory)", 0x50, 12, 1, 2),
              Number("Fac_SensorBias", "Sensor Bias", 0x51, 2, 1, 4095, 0, 1, 2),
              Number("Fac_ClockTrim", "Pixel Clock Trim", 0x52, 4, 1, 0xFFFFFF, 0x100, 838, 2),
              List("Fac_Mode", "Factory Mode", 0x53, 1, 2, {{0, "Normal"}, {0xA5, "Service"}})}},
        }};
}

ExpectedModel Colour() {
    return {
        "LS-2048C",
        "LS2048C.ini",
        1,
        0,
        1,
        8,
        3,
        2048,
        {
            {"Blk_Acquisition",
             "Acquisition",
             {List("Acq_TriggerSource", "Trigger Source", 0xA0, 1, 1,
                   {{0, "Internal"}, {2, "External"}}),
              List("Acq_ExposureMode", "Exposure Mode", 0xA1, 1, 0,
                   {{0, "Free Run"}, {1, "Timed"}}),
              Number("Acq_LinePeriod", "Line Period (x0.1 us)", 0xA6, 3, 1, 1000000, 200, 49, 0),
              Number("Acq_ExposureTime", "Exposure Time (x0.1 us)", 0xA7, 3, 1, 1000000, 100, 49,
                     0),
              Number("Acq_SpatialCorr", "Spatial Correction (lines)", 0xAC, 1, 1, 8, 0, 1, 1)}},
            {"Blk_Color",
             "Colour",
             {List("Col_Balance", "White Balance", 0x60, 1, 0,
                   {{0, "Off"}, {1, "Once"}, {2, "Manual"}}),
              Number("Col_GainRed", "Red Gain", 0x61, 2, 1, 4095, 256, 1, 0),
              Number("Col_GainGreen", "Green Gain", 0x62, 2, 1, 4095, 256, 1, 0),
              Number("Col_GainBlue", "Blue Gain", 0x63, 2, 1, 4095, 256, 1, 0),
              List("Col_Space", "Colour Space", 0x64, 1, 1, {{0, "RGB"}, {1, "BGR"}}),
              Number("Col_Calibrate", "Calibration Coefficient", 0x65, 4, 1, 100000, 0, 5, 2)}},
            {"Blk_Output",
             "Output",
             {List("Out_TestPattern", "Test Pattern", 0x30, 1, 0,
                   {{0, "Off"}, {1, "Colour Bars"}, {2, "Ramp"}}),
              Number("Out_Offset", "Black Offset", 0x16, 1, 1, 255, 0, 1, 0),
              List("Out_LoadUserSet", "Load User Set", 0x36, 1, 0,
                   {{0, "Factory"}, {1, "User Set 1"}}, 37000)}},
            {"Blk_Info",
             "Camera Information",
             {Text("Info_Model", "Model Name", 0x40, 16, 0, 0),
              Text("Info_Serial", "Serial Number", 0x41, 12, 0, 0),
              Number("Info_Temperature", "Sensor Temperature (C)", 0x43, 1, 0, 125, 0, 1, 0)}},
        }};
}

ExpectedModel Legacy() {
    return {
        "LS-8160-4T5500",
        "LS8160.ini",
        0,
        1,
        0,
        8,
        4,
        8160,
        {
            {"Blk_Acquisition",
             "Acquisition",
             {List("Acq_Sync", "Synchronisation", 0xA0, 1, 1, {{0, "Internal"}, {1, "External"}}),
              List("Acq_ExposureMode", "Exposure Mode", 0xA1, 1, 0,
                   {{0, "Free Run"}, {1, "Timed"}}),
              Number("Acq_LinePeriod", "Line Period (us)", 0xA6, 2, 1, 65535, 20, 3, 0),
              Number("Acq_ExposureTime", "Exposure Time (us)", 0xA7, 2, 1, 65535, 10, 3, 0),
              List("Acq_Correction", "FPN/PRNU Correction", 0x20, 1, 0,
                   {{0, "Off"}, {1, "FPN"}, {2, "PRNU"}, {3, "FPN and PRNU"}})}},
            {"Blk_Gain",
             "Gain",
             {Number("Gain_Master", "Master Gain", 0x10, 1, 1, 255, 0, 1, 0),
              Number("Gain_Tap1", "Taps 1-2 Gain", 0x12, 1, 1, 255, 0, 1, 1),
              Number("Gain_Tap2", "Taps 3-4 Gain", 0x13, 1, 1, 255, 0, 1, 1),
              Number("Gain_Offset", "Offset", 0x16, 1, 1, 127, 0, 1, 0)}},
            {"Blk_Info",
             "Camera Information",
             {Text("Info_Model", "Model Name", 0x40, 16, 0, 0),
              Text("Info_Firmware", "Firmware Version", 0x42, 8, 0, 0),
              Number("Info_Service", "Service Code", 0x54, 2, 1, 9999, 0, 1, 2)}},
        }};
}

void ExpectRow(const json& row, const ExpectedRow& e) {
    SCOPED_TRACE(e.section);
    EXPECT_EQ(row.size(), 3u);
    EXPECT_EQ(row.at("SectionName"), e.section);
    EXPECT_EQ(row.at("DisplayName"), e.display);
    const json& c = row.at("Command");
    ASSERT_TRUE(c.is_object());
    EXPECT_EQ(c.size(), 14u) << "every CommandInfo field, nothing else";
    EXPECT_EQ(c.at("CommandID"), e.id);
    EXPECT_EQ(c.at("CharLength"), e.charLength);
    EXPECT_EQ(c.at("EnableRW"), e.enableRW);
    EXPECT_EQ(c.at("Max"), e.max);
    EXPECT_EQ(c.at("Min"), e.min);
    EXPECT_EQ(c.at("SliderStep"), e.sliderStep);
    EXPECT_EQ(c.at("EnableList"), e.enableList);
    EXPECT_EQ(c.at("ListNum"), static_cast<int>(e.items.size()));
    EXPECT_EQ(c.at("PureTextValue"), e.pureText);
    EXPECT_EQ(c.at("EnableAdvancedLevel"), e.level);
    EXPECT_EQ(c.at("HasUICommand"), e.runUICommand != 0);
    EXPECT_EQ(c.at("RunUICommand"), e.runUICommand);
    EXPECT_EQ(c.at("ValueText"), "");
    const json& items = c.at("ListItems");
    ASSERT_EQ(items.size(), e.items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i], (json{{"Value", e.items[i].first}, {"Text", e.items[i].second}}));
    }
}

void ExpectModel(const ExpectedModel& e) {
    SCOPED_TRACE(e.name);
    CliResult r = RunCli("--dir '" VELTERRA_CONFIG_DIR "' model " + e.name);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    json doc = json::parse(r.out);
    EXPECT_EQ(doc.size(), 11u);
    EXPECT_EQ(doc.at("ModelName"), e.name);
    EXPECT_EQ(doc.at("CommandFilePath"), std::string(VELTERRA_CONFIG_DIR) + "/" + e.file);
    EXPECT_EQ(doc.at("MenuDB"), "default_menu.mdb");
    EXPECT_EQ(doc.at("ColorCamera"), e.color);
    EXPECT_EQ(doc.at("SupportFpnPrnuTables"), e.fpn);
    EXPECT_EQ(doc.at("SupportLUT"), e.lut);
    EXPECT_EQ(doc.at("MaxTxUnitBits"), e.bits);
    EXPECT_EQ(doc.at("TapsNum"), e.taps);
    EXPECT_EQ(doc.at("ActiveLength"), e.activeLength);
    EXPECT_EQ(doc.at("BlockCount"), static_cast<int>(e.blocks.size()));
    const json& blocks = doc.at("Blocks");
    ASSERT_EQ(blocks.size(), e.blocks.size());
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const ExpectedBlock& eb = e.blocks[b];
        SCOPED_TRACE(eb.section);
        const json& block = blocks[b];
        EXPECT_EQ(block.size(), 8u);
        EXPECT_EQ(block.at("SectionName"), eb.section);
        EXPECT_EQ(block.at("DisplayName"), eb.display);
        EXPECT_EQ(block.at("RowCount"), static_cast<int>(eb.rows.size()));
        EXPECT_EQ(block.at("Expanded"), true);
        int levels[3] = {0, 0, 0};
        for (const auto& row : eb.rows) ++levels[row.level];
        EXPECT_EQ(block.at("BasicCount"), levels[0]);
        EXPECT_EQ(block.at("AdvancedCount"), levels[1]);
        EXPECT_EQ(block.at("PasswordCount"), levels[2]);
        const json& rows = block.at("Rows");
        ASSERT_EQ(rows.size(), eb.rows.size());
        for (std::size_t r = 0; r < rows.size(); ++r) ExpectRow(rows[r], eb.rows[r]);
    }
}

TEST(ModelCommand, SampleMonochromeModel) {
    ExpectModel(Monochrome());
}
TEST(ModelCommand, SampleColourModel) {
    ExpectModel(Colour());
}
TEST(ModelCommand, SampleLegacyModel) {
    ExpectModel(Legacy());
}

TEST(ModelCommand, MonochromeModelCoversWhatTheProgramRelieson) {
    // Rows 2 and 3 of the first block are the line period pair, listed third and fourth at
    // the basic level (the first row is advanced).
    ExpectedModel m = Monochrome();
    const auto& rows = m.blocks[0].rows;
    EXPECT_EQ(rows[0].level, 1);
    EXPECT_EQ(rows[2].id, 0xA6);
    EXPECT_EQ(rows[3].id, 0xA7);
    int parameters = 0;
    for (const auto& b : m.blocks) parameters += static_cast<int>(b.rows.size());
    EXPECT_GE(parameters, 30);
}

TEST(ModelCommand, FileOptionUsesThePathAsTyped) {
    CliResult r = RunCli("model --file LS8160.ini", VELTERRA_CONFIG_DIR);
    ASSERT_EQ(r.status, 0) << r.err;
    json doc = json::parse(r.out);
    EXPECT_EQ(doc.at("ModelName"), "");
    EXPECT_EQ(doc.at("CommandFilePath"), std::string(VELTERRA_CONFIG_DIR) + "/LS8160.ini");
    EXPECT_EQ(doc.at("SupportFpnPrnuTables"), 1);
}

TEST(ModelCommand, ExitStatusTellsWhatFailed) {
    const std::string faults = "--dir '" VELTERRA_FIXTURES_DIR "/config_faults' ";
    CliResult unknown = RunCli("--dir '" VELTERRA_CONFIG_DIR "' model ls-4096m12");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find("CAM_VL.ini"), std::string::npos) << unknown.err;

    CliResult fails = RunCli(faults + "model LS-FAIL");
    EXPECT_EQ(fails.status, 3);
    EXPECT_EQ(fails.out, "");
    EXPECT_NE(fails.err.find("MaxTxUnitBits 9 is odd"), std::string::npos) << fails.err;

    CliResult gone = RunCli(faults + "model LS-GONE");
    EXPECT_EQ(gone.status, 3);
    EXPECT_NE(gone.err.find("No such file or directory"), std::string::npos) << gone.err;

    EXPECT_EQ(RunCli("model").status, 64);
    EXPECT_EQ(RunCli("model a b").status, 64);
}

TEST(ModelCommand, FilesThatCannotBeAModelAreRefusedWithTheReason) {
    char pattern[] = "/tmp/velterra_modelfile_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path dir = pattern;
    ASSERT_EQ(mkfifo((dir / "fifo.ini").c_str(), 0600), 0);
    std::ofstream(dir / "huge.ini").close();
    std::filesystem::resize_file(dir / "huge.ini", (256ull << 20) + 1);  // sparse
    const std::pair<std::string, std::string> cases[] = {
        {"missing.ini",
         "cannot read " + (dir / "missing.ini").string() + ": No such file or directory"},
        {"fifo.ini", "cannot read " + (dir / "fifo.ini").string() + " is not a regular file"},
        {"huge.ini", "cannot read " + (dir / "huge.ini").string() + " is larger than 256 MB"},
        {".", "cannot read " + dir.string() + "/. is not a regular file"},
    };
    for (const auto& [name, message] : cases) {
        const CliResult r = RunCli("model --file '" + (dir / name).string() + "'");
        EXPECT_EQ(r.status, 3) << name;
        EXPECT_EQ(r.out, "") << name;
        EXPECT_EQ(r.err, "velterra-cli: " + message + "\n") << name;
    }
    std::filesystem::remove_all(dir);
}

TEST(ModelCommand, TextsThatAreNotUtf8StillGiveValidJson) {
    char pattern[] = "/tmp/velterra_json_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path dir = pattern;
    std::ofstream(dir / "m.ini", std::ios::binary)
        << "[Overview]\nMaxTxUnitBits=8\nMaxBlockInfoNum=1\n0=B \"Gr\xfc\xdf"
           "e\"\n";
    CliResult r = RunCli("model --file m.ini", dir.string());
    std::filesystem::remove_all(dir);
    ASSERT_EQ(r.status, 0) << r.err;
    json doc = json::parse(r.out);
    EXPECT_EQ(doc.at("Blocks")[0].at("DisplayName"),
              "Gr\xef\xbf\xbd\xef\xbf\xbd"
              "e");
}

}  // namespace
