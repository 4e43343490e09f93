// The two kinds of transfer the RS-232 transport performs on an open port. Each returns 1 for
// success and 0 for failure; a failed transfer leaves the port open.
#pragma once

#include <cstdint>

#include "RsPort.h"

namespace velterra::rs232 {

// One short-frame request, its acknowledge and, for a read, its n+5-byte reply whose data lands
// in `buffer` (untouched on failure).
int32_t ShortFrameExchange(RsPort& port, bool write, uint8_t commandId, uint8_t length,
                           uint8_t* buffer);

// Unframed transfer of `count` bytes within 60 s; a count of 0 or less succeeds at once. It also
// carries the MB exchange (see DirectChannel.h).
int32_t DirectTransfer(RsPort& port, bool write, int32_t count, uint8_t* buffer);

}  // namespace velterra::rs232
