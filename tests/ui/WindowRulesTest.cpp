#include <gtest/gtest.h>

#include "ui/FileDialogFilter.h"
#include "ui/RecentFiles.h"
#include "ui/WindowArguments.h"

using namespace velterra;

namespace {

using Request = WindowArguments::Request;

TEST(WindowArgumentsTest, ReadsTheWindowsOptionsAndRefusesWhatItDoesNotKnow) {
    const struct {
        std::vector<std::string> args;
        Request request;
        std::string dir;
        int slot;
        uint32_t baud;
        std::string file;
        std::string problem;
    } cases[] = {
        {{}, Request::Run, "", -1, 0, "", ""},
        {{"--dir", "/cfg", "--port", "COM2", "--baud", "57600", "a.vlt"},
         Request::Run,
         "/cfg",
         7,
         57600,
         "a.vlt",
         ""},
        {{"--port", "clser-3"}, Request::Run, "", 3, 0, "", ""},
        // The toolkit's own options pass through, with their values.
        {{"-platform", "offscreen", "-reverse", "b.vlt"}, Request::Run, "", -1, 0, "b.vlt", ""},
        {{"x.vlt", "--help"}, Request::Help, "", -1, 0, "", ""},
        {{"--version"}, Request::Version, "", -1, 0, "", ""},
        {{"--port", "COM9"},
         Request::Usage,
         "",
         -1,
         0,
         "",
         "unknown port \"COM9\" (COM1..COM4, clser-0..clser-5)"},
        {{"--baud", "0"},
         Request::Usage,
         "",
         -1,
         0,
         "",
         "--baud needs a positive number, not \"0\""},
        {{"--baud", "96k"},
         Request::Usage,
         "",
         -1,
         0,
         "",
         "--baud needs a positive number, not \"96k\""},
        {{"--dir"}, Request::Usage, "", -1, 0, "", "option --dir needs a value"},
        {{"--fast"}, Request::Usage, "", -1, 0, "", "unknown option --fast"},
        {{"a.vlt", "b.vlt"},
         Request::Usage,
         "",
         -1,
         0,
         "",
         "one settings file only, not also \"b.vlt\""},
    };
    for (const auto& c : cases) {
        const WindowArguments parsed = WindowArguments::Parse(c.args);
        const std::string label = c.args.empty() ? "(none)" : c.args.front();
        EXPECT_EQ(parsed.request, c.request) << label;
        EXPECT_EQ(parsed.problem, c.problem) << label;
        if (c.request != Request::Run) continue;
        EXPECT_EQ(parsed.startupDirectory, c.dir) << label;
        EXPECT_EQ(parsed.slot, c.slot) << label;
        EXPECT_EQ(parsed.baudRate, c.baud) << label;
        EXPECT_EQ(parsed.settingsFile, c.file) << label;
    }
    // The LUT functions are offered only when asked for, and the flag takes no value.
    const WindowArguments lut = WindowArguments::Parse({"--lut-functions", "c.vlt"});
    EXPECT_TRUE(lut.lutFunctions);
    EXPECT_EQ(lut.settingsFile, "c.vlt");
    EXPECT_FALSE(WindowArguments::Parse({"c.vlt"}).lutFunctions);
}

TEST(FileDialogFilterTest, EachChoiceBecomesOneEntryWithBlankSeparatedPatterns) {
    const struct {
        std::string filter;
        std::vector<std::string> entries;
    } cases[] = {
        {"Velterra Files (*.vlt)|*.vlt||", {"Velterra Files (*.vlt)"}},
        {"Excel Workbooks (*.xlsx;*.xls)|*.xlsx; *.xls|All Files (*.*)|*.*||",
         {"Excel Workbooks (*.xlsx *.xls)", "All Files (*)"}},
        // A name without its own bracket, and a list without the closing "||".
        {"Text|*.txt", {"Text (*.txt)"}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(FileDialogFilters(c.filter), c.entries) << c.filter;
}

TEST(RecentFilesTest, NewestFirstWithoutDuplicatesAndAtMostFour) {
    std::vector<std::string> files;
    for (const char* path : {"a", "b", "", "c", "a", "d", "e"}) AddRecentFile(files, path);
    EXPECT_EQ(files, (std::vector<std::string>{"e", "d", "a", "c"}));
}

}  // namespace
