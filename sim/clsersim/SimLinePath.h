// Which device serial index i of the simulator's clser library talks to.
#pragma once

#include <cstdint>
#include <string>

namespace velterra::clsersim {

// The environment variable VELTERRA_CLSER<i>, else key Port<i> of section "Simulator" in
// clser.ini in the current directory; empty when neither names a device.
std::string SimLinePath(uint32_t serialIndex);

}  // namespace velterra::clsersim
