#include "CameraFunctionCommand.h"

namespace velterra {

// velterra-cli badpixels-read --port PORT and badpixels-write --port PORT: the camera's
// bad-pixel lists (limits 8 and 8) to BadPixels.txt of the start-up directory and back (the
// menus' built-in functions 10 and 9). The camera must use MB frames (kernel type 1).
namespace {

constexpr const char* kReadUsage = "badpixels-read --port PORT";
constexpr const char* kWriteUsage = "badpixels-write --port PORT";
constexpr int kLimit = CameraFunctions::kBadPixelLimit;

int RunRead(CliContext& context) {
    return RunCameraFunctionCommand(context, kReadUsage, {},
                                    [](CameraFunctions& functions, const PortCommandOptions&) {
                                        return functions.ReadBadPixels(kLimit, kLimit);
                                    });
}

int RunWrite(CliContext& context) {
    return RunCameraFunctionCommand(context, kWriteUsage, {},
                                    [](CameraFunctions& functions, const PortCommandOptions&) {
                                        return functions.WriteBadPixels(kLimit, kLimit);
                                    });
}

CliCommandRegistration readRegistration("badpixels-read", kReadUsage, &RunRead);
CliCommandRegistration writeRegistration("badpixels-write", kWriteUsage, &RunWrite);

}  // namespace

}  // namespace velterra
