#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SettingsFileTestSupport.h"

using namespace velterra;

using namespace enginetest;
using namespace settingstest;
using Outcome = SettingsFile::LoadReport::Outcome;

namespace {

class SettingsCommands : public ::testing::Test {
  protected:
    SettingsCommands() {
        char pattern[] = "/tmp/velterra_vlt_XXXXXX";
        dir = mkdtemp(pattern);
        fx.doc.ModelName = "M";
        std::vector<RowInfo> rows;
        rows.push_back(Row("Gain", Number(0x21, 2, 0, 1000)));
        SetTable(fx.doc, {});
        fx.doc.Blocks.push_back(Block("Block", std::move(rows)));
        CommandAt(fx.doc, 0, 0).ValueText = "300";
    }
    ~SettingsCommands() override { std::filesystem::remove_all(dir); }

    std::filesystem::path dir;
    EngineFixture fx;
};

TEST_F(SettingsCommands, SaveNamesTheDocumentAfterTheFileAndReplacesAnOldOne) {
    const std::string path = (dir / "setup.vlt").string();
    std::ofstream(path) << "an older file that is longer than the new one";
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    fx.doc.SetModifiedFlag(true);
    SettingsFile::BeginSaveAs(fx.doc);
    EXPECT_EQ(fx.view.Hints(), std::vector<int>{5});
    ASSERT_TRUE(SettingsFile::SaveFile(fx.doc, path));
    EXPECT_EQ(ReadFile(path), Header("M") + FileBytes({0x21, 2, 0x2C, 0x01}));
    EXPECT_EQ(fx.doc.GetTitle(), "setup.vlt");
    EXPECT_FALSE(fx.doc.IsModified());
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no leftovers
}

TEST_F(SettingsCommands, SaveThatCannotWriteSaysSoAndKeepsTheDocument) {
    fx.doc.SetTitle("COM2");
    fx.doc.SetModifiedFlag(true);
    for (const std::string& path : {dir.string(), (dir / "missing" / "a.vlt").string()}) {
        fx.ui.messages.clear();
        EXPECT_FALSE(SettingsFile::SaveFile(fx.doc, path));
        EXPECT_EQ(fx.ui.messages, std::vector<std::string>{"Can't write the file " + path + "!"});
    }
    EXPECT_EQ(fx.doc.GetTitle(), "COM2");
    EXPECT_TRUE(fx.doc.IsModified());
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

TEST_F(SettingsCommands, LoadStartsAnUntitledDocumentAndEndsNamedAfterTheFile) {
    fx.doc.SetTitle("COM2");
    fx.doc.SetModifiedFlag(true);
    SettingsFile::BeginLoad(fx.doc);
    EXPECT_EQ(fx.view.Hints(), std::vector<int>{5});
    EXPECT_EQ(fx.doc.GetTitle(), "Untitled");
    EXPECT_FALSE(fx.doc.IsModified());
    EXPECT_EQ(fx.doc.Blocks.size(), 1u);  // the table stays

    const std::string path = (dir / "old.vlt").string();
    std::ofstream(path, std::ios::binary) << "VLT_2_4\nM\n";
    const auto report = SettingsFile::LoadFile(fx.doc, path);
    EXPECT_EQ(report.outcome, Outcome::kWrongFormat);
    EXPECT_EQ(fx.doc.GetTitle(), "old.vlt");  // also when the load stopped at a message

    std::ofstream(path, std::ios::binary) << Header("M") + FileBytes({0x21, 2, 7, 0});
    EXPECT_EQ(SettingsFile::LoadFile(fx.doc, path).outcome, Outcome::kLoaded);
    EXPECT_EQ(CommandAt(fx.doc, 0, 0).ValueText, "7");
}

TEST_F(SettingsCommands, LoadOfAFileThatCannotBeReadSaysSo) {
    // The box says why when the reason is not the open itself.
    const std::pair<std::string, std::string> cases[] = {
        {(dir / "none.vlt").string(), ""},
        {dir.string(), "\n" + dir.string() + " is not a regular file"},
    };
    for (const auto& [path, why] : cases) {
        fx.ui.messages.clear();
        EXPECT_EQ(SettingsFile::LoadFile(fx.doc, path).outcome, Outcome::kCannotOpen);
        EXPECT_EQ(fx.ui.messages,
                  std::vector<std::string>{"Can't open the file " + path + "!" + why});
    }
    EXPECT_EQ(CommandAt(fx.doc, 0, 0).ValueText, "300");
}

}  // namespace
