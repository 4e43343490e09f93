#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velterra::bulk {

// One MB read request carrying `params` whose reply may hold at most `limit` bytes. The reply
// is received into a buffer that fits any MB reply, so an over-long answer is refused here
// whatever the transport does with it, and never reaches the caller's memory.
bool ReadMbReply(int32_t portType, int32_t portIndex, uint8_t commandId, const uint8_t* params,
                 uint16_t paramLength, std::size_t limit, std::vector<uint8_t>& reply);

// The status read that confirms each kernel-1 write: exactly one byte, and it must be 0.
bool ReadWriteStatus(int32_t portType, int32_t portIndex, uint8_t statusCommandId);

}  // namespace velterra::bulk
