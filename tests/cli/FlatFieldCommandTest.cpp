// velterra-cli ffc against velterra-camsim, whose camera stays busy for a while after each of
// the flat-field functions: the wizard waits it out, or gives up at the poll limit.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <sstream>

#include "CamsimProcess.h"
#include "CliRun.h"
#include "ScratchCameraTest.h"

using namespace velterra;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class FlatFieldCommand : public ScratchCameraTest {
  protected:
    FlatFieldCommand() : ScratchCameraTest("ffc") {}
};

TEST_F(FlatFieldCommand, WaitsOutTheBusyCameraOrTimesOut) {
    struct Case {
        const char* busyMs;
        const char* options;
        int status;
        std::vector<std::string> out;
    };
    // An unanswered probe waits out its 3 s time limit: a camera busy for 2.5 s answers the
    // second poll. Positions are those of the dialog's progress bar.
    const Case cases[] = {
        {"2500",
         "--yes",
         0,
         {"Please wait......", "5%", "10%", "100%", "Please wait......", "5%", "10%", "100%",
          "Flat Field Correction complete."}},
        {"60000",
         "--yes --skip-bright --polls 1",
         1,
         {"Please wait......", "5%", "100%", "Flat Field Correction Timer Out!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        CamsimProcess camera(dir_, {"--model", "LS-4096M12", "--busy-ms", c.busyMs});
        ASSERT_FALSE(camera.TerminalPath().empty()) << camera.Errors();
        setenv("VELTERRA_COM1", camera.TerminalPath().c_str(), 1);
        const CliResult r =
            RunCli("--dir '" VELTERRA_CONFIG_DIR "' ffc --port COM1 " + std::string(c.options));
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(Lines(r.out), c.out) << r.err;
    }
}

}  // namespace
