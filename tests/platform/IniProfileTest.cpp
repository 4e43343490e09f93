#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "IniProfile.h"

namespace {

// A file in a private temporary folder, removed with the fixture.
class IniProfileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/velterra_ini_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        path_ = dir_ / "test.ini";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void Write(const std::string& text) {
        std::ofstream out(path_, std::ios::binary);
        out << text;
    }
    std::string Str(const char* section, const char* key, const char* def = "<default>") {
        return ReadProfileString(section, key, def, path_);
    }
    int32_t Int(const char* section, const char* key, int32_t def = -7) {
        return ReadProfileInt(section, key, def, path_);
    }

    std::filesystem::path dir_;
    std::filesystem::path path_;
};

TEST_F(IniProfileTest, NamesIgnoreCaseAndBlanksAroundNamesAndValues) {
    Write("[ Overview ]\n  MenuDB  =   my.mdb   \n[branch_type]\nMaxBranchTypeNum=3\n");
    EXPECT_EQ(Str("Overview", "MenuDB"), "my.mdb");
    EXPECT_EQ(Str("OVERVIEW", "menudb"), "my.mdb");
    EXPECT_EQ(Int("Branch_Type", "MAXBRANCHTYPENUM"), 3);
}

TEST_F(IniProfileTest, LineEndsOfEveryKind) {
    Write("[A]\r\nk1=crlf\r\n[B]\rk2=cr\r[C]\nk3=lf\nk4=last");
    EXPECT_EQ(Str("A", "k1"), "crlf");
    EXPECT_EQ(Str("B", "k2"), "cr");
    EXPECT_EQ(Str("C", "k3"), "lf");
    EXPECT_EQ(Str("C", "k4"), "last");
    EXPECT_EQ(Str("A", "k2"), "<default>") << "keys stay in their own section";
}

TEST_F(IniProfileTest, OnlyFirstSectionAndFirstKeyOfANameCount) {
    Write("[S]\nk=first\nk=second\n[T]\nx=1\n[s]\nk=third\nonly_here=yes\n");
    EXPECT_EQ(Str("S", "k"), "first");
    EXPECT_EQ(Str("S", "only_here"), "<default>");
    auto sections = ReadProfileSectionNames(path_);
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0], "S");
    EXPECT_EQ(sections[1], "T");
    auto keys = ReadProfileKeyNames("s", path_);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0], "k");
}

TEST_F(IniProfileTest, QuotesCommentsAndLinesWithoutEquals) {
    Write(
        "[Q]\n"
        "dq=\"  padded  \"\n"
        "sq='single'\n"
        "mixed=\"a'\n"
        "inner=\"a\" \"b\"\n"
        "lone=\"\n"
        "empty=\"\"\n"
        "semi=v ; c\n"
        "; comment=ignored\n"
        "   ;indented=also ignored\n"
        "no equals here\n"
        "eq=a=b\n");
    EXPECT_EQ(Str("Q", "dq"), "  padded  ");
    EXPECT_EQ(Str("Q", "sq"), "single");
    EXPECT_EQ(Str("Q", "mixed"), "\"a'");
    // Only a pair that encloses the whole value goes: the outer two quotes here.
    EXPECT_EQ(Str("Q", "inner"), "a\" \"b");
    EXPECT_EQ(Str("Q", "lone"), "\"");
    EXPECT_EQ(Str("Q", "empty"), "");
    EXPECT_EQ(Str("Q", "semi"), "v ; c");
    EXPECT_EQ(Str("Q", "; comment"), "<default>");
    EXPECT_EQ(Str("Q", ";indented"), "<default>");
    EXPECT_EQ(Str("Q", "no equals here"), "<default>");
    EXPECT_EQ(Str("Q", "eq"), "a=b");
}

TEST_F(IniProfileTest, ValuesAreCutToTheBuffer) {
    std::string longValue(200, 'x');
    longValue[126] = 'A';
    longValue[127] = 'B';
    Write("[L]\nk=" + longValue + "\nq=\"" + std::string(130, 'y') + "\"\n");
    std::string v = Str("L", "k");
    ASSERT_EQ(v.size(), 127u);
    EXPECT_EQ(v.back(), 'A');
    EXPECT_EQ(Str("L", "q"), std::string(127, 'y'));
    EXPECT_EQ(ReadProfileString("L", "k", "", path_, 64).size(), 63u);
    EXPECT_EQ(ReadProfileString("L", "missing", std::string(100, 'd') + "  ", path_, 64),
              std::string(63, 'd'));
}

TEST_F(IniProfileTest, MissingFileOrKeyGivesDefault) {
    EXPECT_EQ(Str("Overview", "MenuDB", "default_menu.mdb"), "default_menu.mdb");
    EXPECT_EQ(Int("Overview", "TapsNum", 1), 1);
    EXPECT_TRUE(ReadProfileSectionNames(path_).empty());
    Write("[Overview]\nTapsNum=\nBlank=   \nQuoted=\"\"\n");
    EXPECT_EQ(Int("Overview", "TapsNum", 1), 1) << "an empty value gives the default";
    EXPECT_EQ(Int("Overview", "Blank", 5), 5);
    EXPECT_EQ(Int("Overview", "Quoted", 6), 6);
    EXPECT_EQ(Str("Overview", "TapsNum"), "");
    EXPECT_EQ(Int("Nowhere", "TapsNum", 9), 9);
}

TEST(IniProfileSpecialFiles, DirectoriesAndDevicesReadAsMissingFiles) {
    // /dev/zero never ends: reading it as a file would never return.
    for (const char* path : {"/dev/zero", "/dev/null", "/tmp"}) {
        EXPECT_EQ(ReadProfileString("Overview", "MenuDB", "fallback", path), "fallback") << path;
        EXPECT_EQ(ReadProfileInt("Overview", "TapsNum", 7, path), 7) << path;
        EXPECT_TRUE(ReadProfileSectionNames(path).empty()) << path;
    }
}

TEST_F(IniProfileTest, IntegersReadAsTheWindowsReaderDoes) {
    Write(
        "[I]\n"
        "dec=42\nlead0=010\nhex=0x1F\nhexff=0xff\noct=0o17\nbin=0b101\n"
        "neg=-12\nplus=+7\nnegHex=-0x10\ntrail=12abc\nword=abc\nupperX=0X1F\n"
        "wrap=4294967297\nbig=0xFFFFFFFF\nprefixOnly=0x\nquoted=\"33\"\nspaced=\"  44\"\n");
    EXPECT_EQ(Int("I", "dec"), 42);
    EXPECT_EQ(Int("I", "lead0"), 10);
    EXPECT_EQ(Int("I", "hex"), 31);
    EXPECT_EQ(Int("I", "hexff"), 255);
    EXPECT_EQ(Int("I", "oct"), 15);
    EXPECT_EQ(Int("I", "bin"), 5);
    EXPECT_EQ(Int("I", "neg"), -12);
    EXPECT_EQ(Int("I", "plus"), 7);
    EXPECT_EQ(Int("I", "negHex"), -16);
    EXPECT_EQ(Int("I", "trail"), 12);
    EXPECT_EQ(Int("I", "word"), 0);
    EXPECT_EQ(Int("I", "upperX"), 0) << "only the lower-case prefix is a base";
    EXPECT_EQ(Int("I", "wrap"), 1);
    EXPECT_EQ(Int("I", "big"), -1);
    EXPECT_EQ(Int("I", "prefixOnly"), 0);
    EXPECT_EQ(Int("I", "quoted"), 33);
    EXPECT_EQ(Int("I", "spaced"), 44);
}

TEST_F(IniProfileTest, ByteOrderMarkAndKeysBeforeAnySection) {
    Write("\xEF\xBB\xBForphan=1\n[DLL]\n0=clsersim.dll\n");
    EXPECT_EQ(Str("DLL", "0"), "clsersim.dll");
    EXPECT_EQ(Str("", "orphan"), "<default>");
}

TEST_F(IniProfileTest, FileIsReadAfreshOnEachCall) {
    Write("[S]\nk=one\n");
    EXPECT_EQ(Str("S", "k"), "one");
    Write("[S]\nk=two\n");
    EXPECT_EQ(Str("S", "k"), "two");
}

TEST(IniFileParse, KeepsLineNumbersAndRawValuesForDiagnostics) {
    IniFile file = IniFile::Parse("; head\n[A]\n\nk = \"v\" \n[B]\n");
    ASSERT_EQ(file.Sections().size(), 2u);
    const IniFile::Entry* entry = file.FindEntry("a", "K");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->line, 4);
    EXPECT_EQ(entry->value, "\"v\"");
    EXPECT_EQ(file.Sections()[1].line, 5);
}

}  // namespace
