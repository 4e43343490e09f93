// velterra-cli lut-export and lut-check, run as a user would.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "WorkbookTestSupport.h"
#include "lut/LutTexts.h"

using namespace velterra;

using ::testing::ElementsAre;

namespace {

struct CliRun {
    int status = -1;
    std::string out, err;
};

std::string Slurp(const std::filesystem::path& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class WorkbookCli : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(cli_)) GTEST_SKIP() << "velterra-cli is not built";
    }

    CliRun Cli(const std::string& args) {
        CliRun run;
        std::string command = "cd '" + dir_.path().string() + "' && '" + cli_.string() + "' " +
                              args + " >out.txt 2>err.txt";
        int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = Slurp(dir_ / "out.txt");
        run.err = Slurp(dir_ / "err.txt");
        return run;
    }

    ScratchDir dir_;
    std::filesystem::path cli_ = std::filesystem::path(VELTERRA_BIN_DIR) / "velterra-cli";
};

TEST_F(WorkbookCli, ExportedStartingPointChecksAsIdentityWithDefaultNodes) {
    CliRun exported = Cli("lut-export --bits 12 --taps 4 --nodes start.xlsx");
    ASSERT_EQ(exported.status, 0) << exported.err;

    CliRun checked = Cli("lut-check start.xlsx --json");
    ASSERT_EQ(checked.status, 0) << checked.err;
    auto json = nlohmann::json::parse(checked.out);
    EXPECT_EQ(json["fixedText"], "Tavrin NX LUT V2");
    EXPECT_EQ(json["color"], false);
    EXPECT_EQ(json["bits"], 12);
    EXPECT_EQ(json["taps"], 4);
    ASSERT_EQ(json["luts"].size(), 4u);
    EXPECT_EQ(json["luts"][3]["first"], 0);
    EXPECT_EQ(json["luts"][3]["last"], 4095);
    EXPECT_EQ(json["nodeCounts"], nlohmann::json({2, 2, 2, 2}));
    EXPECT_EQ(json["nodes"][2], nlohmann::json({{0, 0}, {4095, 4095}}));

    ASSERT_EQ(Cli("lut-export --color colour.xlsx").status, 0);
    CliRun text = Cli("lut-check colour.xlsx");
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_THAT(text.out, ::testing::HasSubstr("fixed text: Tavrin NX LUT\nmode: Color\nbits: 8\n"
                                               "taps: 3\n"));
    EXPECT_THAT(text.out, ::testing::HasSubstr("tap 3: 256 values, first 0, last 255\n"));
}

TEST_F(WorkbookCli, RefusalsGiveTheReaderMessageAndStatus1) {
    auto fixture = WorkbookFixture("bad_bits_odd.xlsx").string();
    CliRun plain = Cli("lut-check '" + fixture + "'");
    EXPECT_EQ(plain.status, 1);
    EXPECT_EQ(plain.err, std::string(LutTexts::kInvalidBitDepth) + "\n");
    EXPECT_EQ(plain.out, "");

    CliRun json = Cli("lut-check --json '" + fixture + "'");
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(nlohmann::json::parse(json.out)["error"], LutTexts::kInvalidBitDepth);

    CliRun odd = Cli("lut-export --bits 9 --taps 1 odd.xlsx");
    EXPECT_EQ(odd.status, 1);
    EXPECT_EQ(odd.err, std::string(LutTexts::kIncorrectBitDepth) + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "odd.xlsx"));

    EXPECT_EQ(Cli("lut-export --bits 8 out.xlsx").status, 64);
    EXPECT_EQ(Cli("lut-export --bits eight --taps 1 out.xlsx").status, 64);
    EXPECT_EQ(Cli("lut-check").status, 64);
}

TEST_F(WorkbookCli, InputsThatCannotBeAWorkbookAreRefusedBeforeTheyAreRead) {
    const auto dir = dir_.path();
    ASSERT_EQ(mkfifo((dir / "fifo.xlsx").c_str(), 0600), 0);
    std::ofstream(dir / "huge.xls").close();
    std::filesystem::resize_file(dir / "huge.xls", (256ull << 20) + 1);  // sparse
    std::filesystem::create_directory(dir / "folder.xlsx");
    const std::pair<const char*, std::string> cases[] = {
        {"fifo.xlsx", " is not a regular file"},
        {"folder.xlsx", " is not a regular file"},
        {"huge.xls", " is larger than 256 MB"},
    };
    for (const auto& [name, problem] : cases) {
        const CliRun run = Cli(std::string("lut-check ") + name);
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_NE(run.err.find(name + problem), std::string::npos) << name << run.err;
    }
}

}  // namespace
