#include <filesystem>
#include <iostream>

#include "CheckConfigChecker.h"
#include "CliCommand.h"

namespace velterra {

// velterra-cli check-config: what the loaders would silently accept in the start-up directory's
// configuration, one finding per line on standard error.
namespace {

constexpr int kExitClean = 0;
constexpr int kExitFindings = 1;
constexpr int kExitUsage = 64;

int RunCheckConfig(CliContext& context) {
    if (!context.args.empty()) {
        std::cerr << "usage: velterra-cli [--dir DIR] check-config\n";
        return kExitUsage;
    }
    ConfigChecker checker(std::filesystem::current_path());
    checker.Run();
    for (const auto& finding : checker.Findings()) std::cerr << FormatFinding(finding) << '\n';
    const auto count = checker.Findings().size();
    if (count == 0) {
        std::cout << "configuration is clean\n";
        return kExitClean;
    }
    std::cout << count << (count == 1 ? " finding\n" : " findings\n");
    return kExitFindings;
}

CliCommandRegistration registration("check-config", "", &RunCheckConfig);

}  // namespace

}  // namespace velterra
