#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velterra::bulk {

// Table entries travel low byte first whatever the host's byte order.
inline void PutLe16(uint8_t* out, uint16_t value) {
    out[0] = static_cast<uint8_t>(value & 0xFF);
    out[1] = static_cast<uint8_t>(value >> 8);
}

inline uint16_t GetLe16(const uint8_t* in) {
    return static_cast<uint16_t>(in[0] | (in[1] << 8));
}

inline void EncodeEntries(const uint16_t* entries, std::size_t count, uint8_t* out) {
    for (std::size_t i = 0; i < count; ++i) PutLe16(out + 2 * i, entries[i]);
}

inline void DecodeEntries(const uint8_t* in, std::size_t count, uint16_t* entries) {
    for (std::size_t i = 0; i < count; ++i) entries[i] = GetLe16(in + 2 * i);
}

}  // namespace velterra::bulk
