#pragma once

#include <cstdint>

namespace velterra::bulk {

// Vector data (the LUT's curve nodes) on an MB (kernel 1) camera: up to 10 records of 4 opaque
// bytes, one per tap.
inline constexpr int kMaxVectorRecords = 10;
inline constexpr int kVectorRecordBytes = 4;

// count must be 1..kMaxVectorRecords; the caller checks it.
bool WriteVectorData(int32_t portType, int32_t portIndex, uint8_t writeCommandId,
                     uint8_t statusCommandId, uint8_t tableId, int count, const uint8_t* records);
// `records` must hold kMaxVectorRecords records; `count` receives the number the camera sent.
bool ReadVectorData(int32_t portType, int32_t portIndex, uint8_t readCommandId, uint8_t tableId,
                    uint8_t* records, uint16_t& count);

}  // namespace velterra::bulk
