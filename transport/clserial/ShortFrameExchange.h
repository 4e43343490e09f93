// The short-frame exchange over a clser serial line.
#pragma once

#include <cstdint>

#include "ClSerialLine.h"

namespace velterra::clserial {

// Sends the request with a 400 ms time-out, waits 200 ms, reads the acknowledge with a 400 ms
// time-out and waits 100 ms. A read then takes its n+5-byte reply within 400 ms and copies the
// data at offset 3 into `buffer` (untouched on failure). Returns 1 or 0. Bytes waiting before
// the request, and the rest of a failed exchange's answer, are thrown away.
int32_t ShortFrameExchange(ClSerialLine& line, bool write, uint8_t commandId, uint8_t length,
                           uint8_t* buffer);

}  // namespace velterra::clserial
