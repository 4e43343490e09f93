// Where "COM<n>" lives on this system.
#pragma once

#include <string>

namespace velterra::platform {

// The device path of COM<comNumber>, first found of: environment variable VELTERRA_COM<n>;
// key COM<n> of section [Ports] in comports.ini in the current directory (so stable names
// under /dev/serial/by-id/ can be used); /dev/ttyS<n-1>. Empty for a number below 1.
std::string ComPortPath(int comNumber);

}  // namespace velterra::platform
