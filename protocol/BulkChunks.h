#pragma once

#include <cstdint>

namespace velterra::bulk {

// Largest number of entries one kernel-1 frame carries.
inline constexpr int kMaxChunkEntries = 512;

// Table transfer on an MB (kernel 1) camera: chunks of at most kMaxChunkEntries entries, each
// led by the 6 parameter bytes [table id, mode 0, offset, count]. A write confirms every chunk
// with a status read; a read advances by what the camera actually returned.
// count must be at least 1 and startOffset at least 0; the caller checks its arguments.
bool WriteChunkedTable(int32_t portType, int32_t portIndex, uint8_t writeCommandId,
                       uint8_t statusCommandId, uint8_t tableId, int startOffset, int count,
                       const uint16_t* entries);
// On success `received` holds the number of entries read (always count).
bool ReadChunkedTable(int32_t portType, int32_t portIndex, uint8_t readCommandId, uint8_t tableId,
                      int startOffset, int count, uint16_t* entries, int& received);

}  // namespace velterra::bulk
