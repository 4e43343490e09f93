#include <iostream>

#include "CameraFunctionCommand.h"

namespace velterra {

// velterra-cli run --port PORT [--refresh] [--progress] NAME: runs the Command.ini function
// NAME as a menu entry bound to that name does; --refresh re-reads every parameter after it.
namespace {

constexpr const char* kUsage = "run --port PORT [--refresh] [--progress] NAME";

int RunFunction(CliContext& context) {
    return RunCameraFunctionCommand(
        context, kUsage, {"--refresh", "--progress"},
        [](CameraFunctions& functions, const PortCommandOptions& options) {
            CVelterraDoc& doc = functions.Document();
            doc.StartPollTimer();
            const bool ok = functions.RunCameraFunction(options.operands[0]);
            // As IsRefreshAll does; a failed read shows in the log and so in the exit status.
            if (options.refresh) doc.RefreshAll();
            return ok;
        },
        [](const PortCommandOptions& options) {
            if (options.operands.size() == 1) return true;
            std::cerr << "velterra-cli: name one Command.ini function\n";
            return false;
        });
}

CliCommandRegistration registration("run", kUsage, &RunFunction);

}  // namespace

}  // namespace velterra
