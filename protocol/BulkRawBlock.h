#pragma once

#include <cstdint>

namespace velterra::bulk {

// Table transfer on a short-frame (kernel 0) camera: a 4-byte header frame with the table
// command, the camera's ready byte 0x40, our ACK, then the entries as one raw block.
// count must be at least 1; the caller checks its arguments.
bool WriteRawTable(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t tableId,
                   int count, const uint16_t* entries);
bool ReadRawTable(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t tableId,
                  int count, uint16_t* entries);

}  // namespace velterra::bulk
