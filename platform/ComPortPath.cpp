#include "ComPortPath.h"

#include <cstdlib>

#include "IniProfile.h"

namespace velterra::platform {

namespace {
// Device paths can be longer than a profile value; allow what a path may hold.
constexpr std::size_t kPathBufferSize = 4096;
}  // namespace

std::string ComPortPath(int comNumber) {
    if (comNumber < 1) return {};
    const std::string name = "COM" + std::to_string(comNumber);
    if (const char* fromEnvironment = std::getenv(("VELTERRA_" + name).c_str());
        fromEnvironment && *fromEnvironment) {
        return fromEnvironment;
    }
    const std::string fromFile =
        ReadProfileString("Ports", name, "", "comports.ini", kPathBufferSize);
    if (!fromFile.empty()) return fromFile;
    return "/dev/ttyS" + std::to_string(comNumber - 1);
}

}  // namespace velterra::platform
