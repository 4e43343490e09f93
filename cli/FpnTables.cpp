#include "CameraFunctionCommand.h"

namespace velterra {

// velterra-cli fpn-write --port PORT and fpn-read --port PORT: the legacy camera's FPN and
// PRNU tables from FPNTable.txt and PRNUTable.txt of the start-up directory to the camera, and
// back (the menus' built-in functions 3 and 4).
namespace {

constexpr const char* kWriteUsage = "fpn-write --port PORT [--progress]";
constexpr const char* kReadUsage = "fpn-read --port PORT [--progress]";

int RunFpnWrite(CliContext& context) {
    return RunCameraFunctionCommand(context, kWriteUsage, {"--progress"},
                                    [](CameraFunctions& functions, const PortCommandOptions&) {
                                        return functions.WriteFpnPrnuTables();
                                    });
}

int RunFpnRead(CliContext& context) {
    return RunCameraFunctionCommand(context, kReadUsage, {"--progress"},
                                    [](CameraFunctions& functions, const PortCommandOptions&) {
                                        return functions.ReadFpnPrnuTables();
                                    });
}

CliCommandRegistration writeRegistration("fpn-write", kWriteUsage, &RunFpnWrite);
CliCommandRegistration readRegistration("fpn-read", kReadUsage, &RunFpnRead);

}  // namespace

}  // namespace velterra
