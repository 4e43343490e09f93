// The tables a camera keeps: LUTs and their vector nodes, the correction tables (FPN, PRNU)
// with the image table beside them, and the bad-pixel block. Everything lives in memory, so a
// write followed by a read gives back what was written.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "LegacyCamera.h"

namespace velterra::sim {

enum class TableFamily { kLut, kCorrection };

// Correction tables by kind; the image table is read-only.
inline constexpr uint8_t kFpnKind = 0;
inline constexpr uint8_t kPrnuKind = 1;
inline constexpr uint8_t kImageKind = 2;

class TableStore {
  public:
    // LUTs start as the identity of the model's bit depth, correction tables at 0, the image
    // table as a ramp from 0 at the first pixel to the largest value at the last one.
    void Reset(int bits, int activeLength);

    std::vector<uint16_t> Read(TableFamily family, uint8_t id, int offset, int count) const;
    void Write(TableFamily family, uint8_t id, int offset, std::span<const uint16_t> entries);
    uint16_t Entry(TableFamily family, uint8_t id, int index) const;

    // Vector nodes of a LUT (up to 10 records of 4 bytes) as a read answers them: the record
    // count, 16-bit little-endian, then the records.
    std::vector<uint8_t> Nodes(uint8_t tableId) const;
    void SetNodes(uint8_t tableId, std::span<const uint8_t> records);

    const std::vector<uint8_t>& BadPixels() const { return badPixels_; }
    void SetBadPixels(std::span<const uint8_t> block) {
        badPixels_.assign(block.begin(), block.end());
    }

  private:
    uint16_t Initial(TableFamily family, uint8_t id, int index) const;

    int bits_ = 8;
    int imageLength_ = codec::legacy::kPixels;
    std::map<std::pair<TableFamily, uint8_t>, std::vector<uint16_t>> tables_;
    std::map<uint8_t, std::vector<uint8_t>> nodes_;
    std::vector<uint8_t> defaultNodes_;
    std::vector<uint8_t> badPixels_;
};

}  // namespace velterra::sim
