// Baud rates as the Camera Link serial interface codes them for clSetBaudRate.
#pragma once

#include <cstdint>

namespace velterra::clserial {

// The code of a rate from 9600 to 921600 baud, or 0 for a rate the interface cannot set.
uint32_t BaudCode(uint32_t baudRate);

}  // namespace velterra::clserial
