// The MB exchange, the same on every transport: request, acknowledge and, for a read, the
// checked reply, each step one unframed transfer on the transport's channel.
#pragma once

#include <cstdint>

#include "UnframedChannel.h"

namespace velterra::codec {

// Sends the MB request (`writeLength` bytes of `writeData`) and waits for ACK; a write ends there.
// A read then receives the reply header and the rest of the reply, checks STX, the echoed
// command id, bit 7 of byte 2, ETX and the checksum, and stores the reply length in
// `replyLength` and its data in `readBuffer`, each when given. The work buffer holds
// max(writeLength, readLength) data bytes: a reply announcing more is refused, as is one longer
// than `readLength` when a read buffer is given. Returns 1 or 0; on 0 the caller's length and
// buffer are untouched. The line is cleared of waiting bytes before the request, and of the
// rest of the answer after a failure. Never throws.
int32_t ExchangeMb(UnframedChannel& channel, bool write, uint8_t commandId, uint16_t writeLength,
                   const uint8_t* writeData, uint16_t readLength, uint16_t* replyLength,
                   uint8_t* readBuffer);

}  // namespace velterra::codec
