#include "SimLinePath.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "IniProfile.h"

namespace velterra::clsersim {

std::string SimLinePath(uint32_t serialIndex) {
    const std::string variable = "VELTERRA_CLSER" + std::to_string(serialIndex);
    if (const char* fromEnvironment = std::getenv(variable.c_str())) {
        if (*fromEnvironment != '\0') return fromEnvironment;
    }
    char directory[PATH_MAX];
    if (getcwd(directory, sizeof directory) == nullptr) return {};
    const std::filesystem::path ini = std::filesystem::path(directory) / "clser.ini";
    return ReadProfileString("Simulator", "Port" + std::to_string(serialIndex), "", ini, PATH_MAX);
}

}  // namespace velterra::clsersim
