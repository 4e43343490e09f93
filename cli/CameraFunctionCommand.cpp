#include "CameraFunctionCommand.h"

#include <iostream>

namespace velterra {

int RunCameraFunctionCommand(CliContext& context, const std::string& usage,
                             const std::vector<std::string>& allowed,
                             const CameraOperation& operation,
                             const std::function<bool(const PortCommandOptions&)>& check,
                             const std::vector<std::string>& flags) {
    PortCommandOptions options;
    if (!ParsePortCommand(context, usage, allowed, options, flags)) return kCliExitUsage;
    if (check && !check(options)) {
        std::cerr << "usage: velterra-cli [--dir DIR] [--baud N] " << usage << '\n';
        return kCliExitUsage;
    }
    CliSession session(context);
    if (!session.Start()) return kCliExitUsage;
    if (!session.OpenForAccess(options.slot)) return kCliExitFailed;

    CameraFunctions functions(session.Doc());
    if (options.progress) {
        functions.SetProgress([](int done, int total) {
            std::cerr << done << '/' << total << '\n';
            return true;
        });
    }
    const int logged = session.LogLineCount();
    const bool ok = operation(functions, options);
    return ok && session.LogLineCount() == logged ? kCliExitOk : kCliExitFailed;
}

}  // namespace velterra
