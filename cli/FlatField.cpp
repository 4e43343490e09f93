#include <algorithm>
#include <iostream>
#include <optional>

#include "CameraFunctionCommand.h"
#include "Clock.h"
#include "dataops/FlatFieldWizard.h"

namespace velterra {

// velterra-cli ffc --port PORT [--skip-dark] [--skip-bright] [--polls N] [--yes]: the
// flat-field correction wizard on the console. Each step asks for the lens cap on the terminal
// (--yes does not ask, for scripts), sends its camera function and waits for the camera as the
// dialog does, printing the progress. Exit 0 when the wizard completed, 1 on a time-out or when
// standard input ends before a prompt is answered.
namespace {

constexpr const char* kUsage = "ffc --port PORT [--skip-dark] [--skip-bright] [--polls N] [--yes]";
constexpr const char* kDarkPrompt = "Close the lens cap, then press Enter";
constexpr const char* kBrightPrompt = "Open the lens cap, aim at a white area, then press Enter";

std::optional<int> PollLimit(const PortCommandOptions& options) {
    const auto given = options.values.find("--polls");
    if (given == options.values.end()) return FlatFieldWizard::kDefaultPollLimit;
    const std::string& text = given->second;
    if (text.empty() || text.size() > 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int polls = std::stoi(text);
    if (polls < 1 || polls > FlatFieldWizard::kMaxPollLimit) return std::nullopt;
    return polls;
}

bool CheckOptions(const PortCommandOptions& options) {
    if (!PollLimit(options)) {
        std::cerr << "velterra-cli: --polls needs a number from 1 to "
                  << FlatFieldWizard::kMaxPollLimit << '\n';
        return false;
    }
    if (!options.operands.empty()) {
        std::cerr << "velterra-cli: unexpected argument \"" << options.operands[0] << "\"\n";
        return false;
    }
    return true;
}

bool Confirmed(const char* prompt) {
    std::cout << prompt << std::flush;
    std::string line;
    if (std::getline(std::cin, line)) return true;
    std::cout << '\n';
    std::cerr << "velterra-cli: standard input ended before Enter; nothing more is sent "
                 "(--yes runs without asking)\n";
    return false;
}

// One step as the dialog runs it: Skip, or Next and the wait. False when it did not complete.
bool RunStep(FlatFieldWizard& wizard, bool skip, bool ask, const char* prompt) {
    if (skip) {
        wizard.Skip();
        return true;
    }
    if (ask && !Confirmed(prompt)) return false;
    wizard.Next();
    std::cout << wizard.Shown().text << '\n';
    RunFlatFieldWait(wizard, platform::SleepMs, [&wizard] {
        // Each poll's position, then the 100 of the end.
        const bool lastPause = wizard.Pending() == FlatFieldWizard::Due::Pause &&
                               wizard.PauseMs() == FlatFieldWizard::kLastPauseMs;
        if (wizard.Pending() == FlatFieldWizard::Due::Probe || lastPause) {
            std::cout << wizard.Shown().progress << "%" << std::endl;
        }
    });
    return wizard.CurrentStep() != FlatFieldWizard::kTimedOut;
}

int RunFlatField(CliContext& context) {
    return RunCameraFunctionCommand(
        context, kUsage, {"--polls"},
        [](CameraFunctions& functions, const PortCommandOptions& options) {
            const auto& flags = options.flags;
            const bool ask = !flags.count("--yes");
            FlatFieldWizard wizard(functions, *PollLimit(options));
            const bool done = RunStep(wizard, flags.count("--skip-dark"), ask, kDarkPrompt) &&
                              RunStep(wizard, flags.count("--skip-bright"), ask, kBrightPrompt);
            if (wizard.CurrentStep() >= FlatFieldWizard::kComplete) {
                std::cout << wizard.Shown().text << '\n';
            }
            return done && wizard.CurrentStep() == FlatFieldWizard::kComplete;
        },
        &CheckOptions, {"--skip-dark", "--skip-bright", "--yes"});
}

CliCommandRegistration registration("ffc", kUsage, &RunFlatField);

}  // namespace

}  // namespace velterra
