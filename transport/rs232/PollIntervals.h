// The library-wide baud value and the polling intervals it selects.
#pragma once

#include <cstdint>

namespace velterra::rs232 {

// One value for every port of the library: each open stores its rate here first, whether or
// not the open then succeeds, and every port polls by it.
void SetLibraryBaud(uint32_t baudRate);
uint32_t LibraryBaud();

uint32_t AcknowledgePollMs(uint8_t commandId);
uint32_t ReplyPollMs();        // short-frame reply and unframed read
uint32_t OutputDrainPollMs();  // unframed write

}  // namespace velterra::rs232
