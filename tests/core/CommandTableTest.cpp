#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "core/UpdateHints.h"
#include "core/VelterraDoc.h"

using namespace velterra;

namespace {

struct RecordingObserver : IDocumentObserver {
    std::vector<std::pair<int, const BlockArray*>> updates;
    void OnDocumentUpdate(int hint, const BlockArray* blocks, const std::string&) override {
        updates.emplace_back(hint, blocks);
    }
};

class CommandTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/velterra_table_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& text) {
        std::filesystem::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    // A monochrome model with one block "B" whose rows are the given command sections.
    std::string Model(const std::string& overviewExtra, const std::string& rows,
                      const std::string& commands) {
        return Write("model.ini",
                     "[Overview]\nTapsNum=1\nMaxTxUnitBits=8\nMaxBlockInfoNum=1\n"
                     "0=B \"Block\"\n" +
                         overviewExtra + "\n[B]\n" + rows + "\n" + commands);
    }

    const CommandInfo& Command(CVelterraDoc& doc, int row) {
        const auto& command = doc.Blocks.at(0).Rows.at(static_cast<size_t>(row)).Command;
        EXPECT_NE(command, nullptr);
        static CommandInfo empty;
        return command ? *command : empty;
    }

    std::filesystem::path dir_;
};

TEST_F(CommandTableTest, ColourCameraAlwaysGetsEightBitsAndThreeTaps) {
    std::string path = Write("c.ini",
                             "[Overview]\nColorCamera=TRUE\nMaxTxUnitBits=7\nTapsNum=9\n"
                             "ActiveLength=2047\nMaxBlockInfoNum=1\n0=B \"B\"\n");
    CVelterraDoc doc(dir_.string());
    std::string why;
    ASSERT_TRUE(doc.LoadCommandTable(path, &why)) << why;
    EXPECT_EQ(doc.ColorCamera, 1);
    EXPECT_EQ(doc.MaxTxUnitBits, 8);
    EXPECT_EQ(doc.TapsNum, 3);
    EXPECT_EQ(doc.ActiveLength, 2047);
    EXPECT_EQ(doc.MenuDB, "default_menu.mdb");
    EXPECT_TRUE(doc.ConfigLoaded);
}

TEST_F(CommandTableTest, MonochromeFactsAreValidatedInOrder) {
    struct Case {
        const char* overview;
        bool loads;
    } cases[] = {
        {"MaxTxUnitBits=9\nTapsNum=1", false},
        {"MaxTxUnitBits=7\nTapsNum=1", false},
        {"MaxTxUnitBits=12\nTapsNum=1", true},
        {"MaxTxUnitBits=65548\nTapsNum=1", true},
        {"TapsNum=0", false},
        {"TapsNum=5", false},
        {"TapsNum=2\nActiveLength=2049", false},
        {"TapsNum=2\nActiveLength=2048", true},
        {"TapsNum=4\nActiveLength=67584", true},
    };
    for (const auto& c : cases) {
        std::string path = Write(
            "m.ini", std::string("[Overview]\n") + c.overview + "\nMaxBlockInfoNum=1\n0=B \"B\"\n");
        CVelterraDoc doc(dir_.string());
        std::string why;
        EXPECT_EQ(doc.LoadCommandTable(path, &why), c.loads) << c.overview;
        EXPECT_EQ(doc.Blocks.empty(), !c.loads) << c.overview;
        EXPECT_EQ(doc.ConfigLoaded, c.loads) << c.overview;
        EXPECT_EQ(why.empty(), c.loads) << c.overview;
    }
}

TEST_F(CommandTableTest, FactsReadBeforeAFailureKeepTheirNewValues) {
    std::string path =
        Write("m.ini",
              "[Overview]\nMenuDB=other.mdb\nSupportLUT=TRUE\nSupportFpnPrnuTables=1\n"
              "MaxTxUnitBits=12\nTapsNum=4\nActiveLength=4097\nMaxBlockInfoNum=1\n");
    CVelterraDoc doc(dir_.string());
    std::string why;
    EXPECT_FALSE(doc.LoadCommandTable(path, &why));
    EXPECT_NE(why.find("ActiveLength"), std::string::npos) << why;
    EXPECT_EQ(doc.MenuDB, "other.mdb");
    EXPECT_EQ(doc.SupportLUT, 1);
    EXPECT_EQ(doc.SupportFpnPrnuTables, 1);
    EXPECT_EQ(doc.ActiveLength, 4097);
    EXPECT_EQ(doc.MaxTxUnitBits, 12) << "stored before the taps were checked";
    EXPECT_EQ(doc.TapsNum, 1) << "taps are stored only after the length check";
    EXPECT_EQ(doc.BlockCount, 0);
}

TEST_F(CommandTableTest, MissingFileOrBlockCountFails) {
    CVelterraDoc doc(dir_.string());
    std::string why;
    EXPECT_FALSE(doc.LoadCommandTable((dir_ / "absent.ini").string(), &why));
    EXPECT_NE(why.find("MaxBlockInfoNum"), std::string::npos);
    EXPECT_EQ(doc.BlockCount, 0);
    EXPECT_EQ(doc.MaxTxUnitBits, 10) << "defaults of a missing file still pass the checks";

    std::string huge = Write("h.ini", "[Overview]\nMaxBlockInfoNum=2000000000\n");
    EXPECT_FALSE(doc.LoadCommandTable(huge, &why));
    EXPECT_EQ(doc.BlockCount, 0);
    EXPECT_TRUE(doc.Blocks.empty());
}

TEST_F(CommandTableTest, NumberRangesAndSliderSteps) {
    struct Case {
        const char* range;
        uint32_t max, min;
        int32_t step;
    } cases[] = {
        {"0x3FF,0", 1023, 0, 1},
        {"100000,0", 100000, 0, 5},
        {"40001,0", 40001, 0, 2},
        {"0,100", 0, 0, 1},
        {"5", 5, 0, 1},
        {"20001,1", 20001, 1, 1},
        {"0xFFFFFFFF,0", 1, 0, 1},
        {"0x80000000,0", 0x80000000u, 0, 1},
        {"0x7FFFFFFF,0x10", 0x7FFFFFFF, 16, 107374},
        {"-100,0", 100, 0, 1},
    };
    for (const auto& c : cases) {
        std::string path = Model("", "MaxRowInfoNum=1\n0=N \"Number\"",
                                 std::string("[N]\nCommandID=0x1A3\nEnableRW=TRUE\nCharLength=4\n"
                                             "MaxMinValue=") +
                                     c.range);
        CVelterraDoc doc(dir_.string());
        ASSERT_TRUE(doc.LoadCommandTable(path)) << c.range;
        const CommandInfo& n = Command(doc, 0);
        EXPECT_EQ(n.Max, c.max) << c.range;
        EXPECT_EQ(n.Min, c.min) << c.range;
        EXPECT_EQ(n.SliderStep, c.step) << c.range;
        EXPECT_EQ(n.CommandID, 0xA3) << "integer key, low 8 bits";
        EXPECT_EQ(n.PureTextValue, 0);
    }
}

TEST_F(CommandTableTest, ValueListAndTextParameters) {
    std::string path = Model(
        "",
        "MaxRowInfoNum=5\n0=Wide \"Wide\"\n1=Txt \"Text\"\n2=Lst \"List\"\n3=Empty \"Empty\"\n"
        "4=NoSection \"Defaults\"",
        "[Wide]\nCommandID=1\nCharLength=8\nPureTextValue=FALSE\nMaxMinValue=100,1\n"
        "[Txt]\nCommandID=2\nCharLength=16\nPureTextValue=TRUE\nEnableRW=1\n"
        "[Lst]\nCommandID=3\nEnableList=TRUE\nCharLength=4\nMaxMinValue=9,1\nPureTextValue=1\n"
        "ListNum=4\n0=0xA0 \"Max\"\n1=12\n2=1,\"One\"\n"
        "RunUICommand=37000\n"
        "[Empty]\nEnableList=TRUE\nListNum=0\n");
    CVelterraDoc doc(dir_.string());
    ASSERT_TRUE(doc.LoadCommandTable(path));
    const CommandInfo& wide = Command(doc, 0);
    EXPECT_EQ(wide.PureTextValue, 1) << "more than 4 bytes cannot be a number";
    EXPECT_EQ(wide.Max, 0u);
    EXPECT_EQ(wide.Min, 0u);
    EXPECT_EQ(wide.CharLength, 8);
    EXPECT_EQ(wide.EnableRW, 0);

    const CommandInfo& text = Command(doc, 1);
    EXPECT_EQ(text.PureTextValue, 1);
    EXPECT_EQ(text.EnableRW, 1);

    const CommandInfo& list = Command(doc, 2);
    EXPECT_EQ(list.CharLength, 1);
    EXPECT_EQ(list.PureTextValue, 0);
    EXPECT_EQ(list.Max, 0u);
    EXPECT_EQ(list.Min, 0u);
    EXPECT_TRUE(list.HasUICommand);
    EXPECT_EQ(list.RunUICommand, 37000);
    ASSERT_EQ(list.ListNum, 4);
    ASSERT_EQ(list.ListItems.size(), 4u);
    EXPECT_EQ(list.ListItems[0].Value, 160);
    EXPECT_EQ(list.ListItems[0].Text, "Max");
    EXPECT_EQ(list.ListItems[1].Value, 0) << "an item that fails keeps its place, value 0";
    EXPECT_EQ(list.ListItems[1].Text, "");
    EXPECT_EQ(list.ListItems[2].Value, 1);
    EXPECT_EQ(list.ListItems[2].Text, "One");
    EXPECT_EQ(list.ListItems[3].Text, "") << "a missing key fails like a bad one";

    const CommandInfo& empty = Command(doc, 3);
    EXPECT_EQ(empty.ListNum, 0);
    EXPECT_TRUE(empty.ListItems.empty());

    const CommandInfo& defaults = Command(doc, 4);
    EXPECT_EQ(defaults.CommandID, 0);
    EXPECT_EQ(defaults.CharLength, 0);
    EXPECT_FALSE(defaults.HasUICommand);
    EXPECT_TRUE(defaults.ValueText.empty());
}

TEST_F(CommandTableTest, UnparsableEntriesAndLevelCounters) {
    std::string path =
        Write("m.ini",
              "[Overview]\nMaxTxUnitBits=8\nMaxBlockInfoNum=3\n0=B \"Block\"\n1=NoQuotes\n"
              "2=Empty \"No rows\"\n"
              "[B]\nMaxRowInfoNum=5\n0=A \"Admin row\"\n1=Y \"Yes row\"\n2=Bare\n3=T \"True row\"\n"
              "[A]\nEnableAdvancedLevel=admin\n[Y]\nEnableAdvancedLevel=Yes\n"
              "[T]\nEnableList=1\nEnableAdvancedLevel=TRUE\n"
              "[Empty]\nMaxRowInfoNum=0\n");
    CVelterraDoc doc(dir_.string());
    ASSERT_TRUE(doc.LoadCommandTable(path));
    ASSERT_EQ(doc.BlockCount, 3);
    const BlockInfo& b = doc.Blocks[0];
    EXPECT_EQ(b.RowCount, 5);
    EXPECT_EQ(b.PasswordCount, 1);
    EXPECT_EQ(b.BasicCount, 1) << "Yes reads as level 0";
    EXPECT_EQ(b.AdvancedCount, 1);
    EXPECT_EQ(b.Rows[2].DisplayName, "[Unknown]");
    EXPECT_EQ(b.Rows[2].SectionName, "");
    EXPECT_EQ(b.Rows[2].Command, nullptr);
    EXPECT_EQ(b.Rows[4].DisplayName, "[Unknown]") << "row key 4 is missing";
    EXPECT_TRUE(b.Expanded);

    EXPECT_EQ(doc.Blocks[1].DisplayName, "[Unknown]");
    EXPECT_EQ(doc.Blocks[1].SectionName, "");
    EXPECT_EQ(doc.Blocks[1].RowCount, 0);
    EXPECT_EQ(doc.Blocks[2].DisplayName, "No rows");
    EXPECT_EQ(doc.Blocks[2].RowCount, 0);
    EXPECT_TRUE(doc.Blocks[2].Rows.empty());
}

TEST_F(CommandTableTest, NamesAreCutTo63Characters) {
    // A profile value holds 127 characters, so a long section name and a long display name
    // are tried in different entries.
    std::string longSection(70, 's');
    std::string longName(80, 'n');
    std::string path =
        Write("m.ini", "[Overview]\nMaxTxUnitBits=8\nMaxBlockInfoNum=2\n0=" + longSection +
                           " \"Short\"\n1=S \"" + longName + "\"\n[" + longSection.substr(0, 63) +
                           "]\nMaxRowInfoNum=1\n0=R \"Row\"\n[R]\nEnableList=1\n"
                           "ListNum=1\n0=1 \"" +
                           longName + "\"\n");
    CVelterraDoc doc(dir_.string());
    ASSERT_TRUE(doc.LoadCommandTable(path));
    EXPECT_EQ(doc.Blocks[0].SectionName, longSection.substr(0, 63));
    EXPECT_EQ(doc.Blocks[1].DisplayName, longName.substr(0, 63));
    ASSERT_EQ(doc.Blocks[0].RowCount, 1) << "the block section is looked up by the cut name";
    EXPECT_EQ(Command(doc, 0).ListItems.at(0).Text, longName.substr(0, 63));
}

TEST_F(CommandTableTest, LoadNotifiesKeepsPresentTableAndFrees) {
    std::string path = Model("", "MaxRowInfoNum=1\n0=N \"N\"", "[N]\nCharLength=1\n");
    CVelterraDoc doc(dir_.string());
    RecordingObserver views;
    doc.AddObserver(&views);
    doc.MessageText = "old line";
    ASSERT_TRUE(doc.LoadCommandTable(path));
    EXPECT_TRUE(doc.MessageText.empty());
    ASSERT_EQ(views.updates.size(), 1u);
    EXPECT_EQ(views.updates[0].first, UpdateHint::kLogMessage);

    std::string other = Write("other.ini", "[Overview]\nMaxBlockInfoNum=0\n");
    EXPECT_TRUE(doc.LoadCommandTable(other)) << "a present table is kept";
    EXPECT_EQ(doc.BlockCount, 1);
    EXPECT_EQ(views.updates.size(), 1u);

    doc.ToggleBlock(0);
    EXPECT_FALSE(doc.Blocks[0].Expanded);
    ASSERT_EQ(views.updates.size(), 2u);
    EXPECT_EQ(views.updates[1].first, UpdateHint::kValuesChanged);
    EXPECT_EQ(views.updates[1].second, &doc.Blocks);
    doc.ToggleBlock(5);  // past the table: ignored
    EXPECT_EQ(views.updates.size(), 2u);

    doc.FreeCommandTable();
    EXPECT_FALSE(doc.ConfigLoaded);
    EXPECT_TRUE(doc.Blocks.empty());
    EXPECT_EQ(doc.BlockCount, 0);
    doc.ToggleBlock(0);
    EXPECT_EQ(views.updates.size(), 2u);
    doc.RemoveObserver(&views);
}

TEST_F(CommandTableTest, WildCountsAreRefusedWithoutExhaustingMemory) {
    struct Case {
        const char* text;
        const char* reason;
    } cases[] = {
        {"[Overview]\nMaxTxUnitBits=8\nMaxBlockInfoNum=3\n0=B \"B\"\n1=B \"B\"\n2=B \"B\"\n"
         "[B]\nMaxRowInfoNum=30000\n0=R \"R\"\n",
         "[B] MaxRowInfoNum 30000 is more than the table can hold (65536 blocks, rows and list "
         "items in all)"},
        {"[Overview]\nMaxTxUnitBits=8\nMaxBlockInfoNum=1\n0=B \"B\"\n[B]\nMaxRowInfoNum=2\n"
         "0=R \"R\"\n[R]\nEnableList=1\nListNum=2000000000\n",
         "[R] ListNum 2000000000 is more than the table can hold (65536 blocks, rows and list "
         "items in all)"},
    };
    for (const Case& c : cases) {
        CVelterraDoc doc(dir_.string());
        std::string why;
        EXPECT_FALSE(doc.LoadCommandTable(Write("m.ini", c.text), &why));
        EXPECT_EQ(why, c.reason);
        EXPECT_TRUE(doc.Blocks.empty()) << "never a table with blocks left empty";
        EXPECT_EQ(doc.BlockCount, 0);
    }
}

TEST_F(CommandTableTest, TableFilledToTheLastEntryLoadsEveryRowAndItem) {
    // 2 blocks + 32766 rows (each its own command section) + 1 row + the list items: 65,536
    // entries with 32767 items, one too many (the file refused) with 32768.
    constexpr int kRows = 32766;
    for (int items : {32767, 32768}) {
        std::string text =
            "[Overview]\nMaxTxUnitBits=8\nMaxBlockInfoNum=2\n0=Many \"Many\"\n1=L \"L\"\n"
            "[Many]\nMaxRowInfoNum=" +
            std::to_string(kRows) + "\n";
        for (int r = 0; r < kRows; ++r)
            text += std::to_string(r) + "=C" + std::to_string(r) + " \"R\"\n";
        for (int r = 0; r < kRows; ++r) {
            text += "[C" + std::to_string(r) + "]\nCommandID=" + std::to_string(r % 256) +
                    "\nCharLength=2\n";
        }
        text += "[L]\nMaxRowInfoNum=1\n0=List \"List\"\n[List]\nEnableList=1\nListNum=" +
                std::to_string(items) + "\n";
        for (int i = 0; i < items; ++i)
            text += std::to_string(i) + "=" + std::to_string(i % 256) + " \"I" + std::to_string(i) +
                    "\"\n";
        std::string path = Write("wide.ini", text);

        CVelterraDoc doc(dir_.string());
        std::string why;
        if (items == 32768) {
            EXPECT_FALSE(doc.LoadCommandTable(path, &why)) << "one entry past the table's room";
            EXPECT_EQ(why.rfind("[List] ListNum 32768 is more than the table can hold", 0), 0u)
                << why;
            EXPECT_TRUE(doc.Blocks.empty());
            continue;
        }
        ASSERT_TRUE(doc.LoadCommandTable(path, &why)) << why;
        ASSERT_EQ(doc.Blocks[0].RowCount, kRows);
        const auto& lastRow = doc.Blocks[0].Rows.back();
        EXPECT_EQ(lastRow.SectionName, "C" + std::to_string(kRows - 1));
        ASSERT_NE(lastRow.Command, nullptr);
        EXPECT_EQ(lastRow.Command->CommandID, (kRows - 1) % 256);
        EXPECT_EQ(lastRow.Command->CharLength, 2);
        ASSERT_EQ(doc.Blocks[1].RowCount, 1);
        const CommandInfo& list = *doc.Blocks[1].Rows[0].Command;
        ASSERT_EQ(list.ListNum, items);
        EXPECT_EQ(list.ListItems.back().Text, "I32766");
        EXPECT_EQ(list.ListItems.back().Value, 32766 % 256);
    }
}

class FindCommandFileTest : public CommandTableTest {};

TEST_F(FindCommandFileTest, MatchesModelNamesExactly) {
    Write("CAM_VL.ini",
          "[Branch_Type]\nMaxBranchTypeNum=4\n0=\"Three\" \"quotes.ini\n"
          "1=\"LS-A\" \"a.ini\"\n2=\"LS-B\" \"b.ini\"\n3=\"LS-A\" \"dup.ini\"\n"
          "9=\"LS-C\" \"beyond.ini\"\n");
    CVelterraDoc doc(dir_.string());
    EXPECT_TRUE(doc.FindCommandFile("LS-B"));
    EXPECT_EQ(doc.CommandFilePath, (dir_ / "b.ini").string());
    EXPECT_TRUE(doc.FindCommandFile("LS-A"));
    EXPECT_EQ(doc.CommandFilePath, (dir_ / "a.ini").string()) << "the first entry wins";
    EXPECT_FALSE(doc.FindCommandFile("ls-a")) << "case counts";
    EXPECT_EQ(doc.CommandFilePath, (dir_ / "CAM_VL.ini").string());
    EXPECT_FALSE(doc.FindCommandFile("Three"));
    EXPECT_FALSE(doc.FindCommandFile("LS-C")) << "entry 9 is beyond MaxBranchTypeNum";
}

TEST_F(FindCommandFileTest, NoEntriesOrNoFile) {
    CVelterraDoc doc(dir_.string());
    EXPECT_FALSE(doc.FindCommandFile("LS-A"));
    EXPECT_EQ(doc.CommandFilePath, (dir_ / "CAM_VL.ini").string());
    Write("CAM_VL.ini", "[Branch_Type]\nMaxBranchTypeNum=0\n0=\"LS-A\" \"a.ini\"\n");
    EXPECT_FALSE(doc.FindCommandFile("LS-A"));
    Write("CAM_VL.ini", "[Branch_Type]\nMaxBranchTypeNum=2147483647\n0=\"LS-A\" \"a.ini\"\n");
    EXPECT_TRUE(doc.FindCommandFile("LS-A"));
}

}  // namespace
