#include "TableStore.h"

#include <algorithm>

namespace velterra::sim {

namespace {

// Two lists of 8 pairs, each with its count: the block the program reads and writes.
constexpr std::size_t kBadPixelBlockBytes = (8 + 8) * 4 + 4;
constexpr std::size_t kNodeBytes = 4;

void PutLe16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

}  // namespace

void TableStore::Reset(int bits, int activeLength) {
    bits_ = std::clamp(bits, 1, 16);
    imageLength_ = activeLength > 0 ? activeLength : codec::legacy::kPixels;
    tables_.clear();
    badPixels_.assign(kBadPixelBlockBytes, 0);
    // Every LUT starts as a straight line through its two end nodes.
    const auto top = static_cast<uint16_t>((1u << bits_) - 1);
    std::vector<uint8_t> line;
    PutLe16(line, 0);
    PutLe16(line, 0);
    PutLe16(line, top);
    PutLe16(line, top);
    nodes_.clear();
    defaultNodes_ = line;
}

uint16_t TableStore::Initial(TableFamily family, uint8_t id, int index) const {
    if (family == TableFamily::kLut) return static_cast<uint16_t>(index);
    if (id != kImageKind) return 0;
    const uint32_t top = (1u << bits_) - 1;
    if (imageLength_ <= 1 || index >= imageLength_ - 1) return static_cast<uint16_t>(top);
    return static_cast<uint16_t>(uint64_t{top} * static_cast<uint32_t>(index) /
                                 static_cast<uint32_t>(imageLength_ - 1));
}

uint16_t TableStore::Entry(TableFamily family, uint8_t id, int index) const {
    const auto it = tables_.find({family, id});
    if (it != tables_.end() && index >= 0 && static_cast<std::size_t>(index) < it->second.size()) {
        return it->second[static_cast<std::size_t>(index)];
    }
    return Initial(family, id, index);
}

std::vector<uint16_t> TableStore::Read(TableFamily family, uint8_t id, int offset,
                                       int count) const {
    std::vector<uint16_t> out;
    out.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) out.push_back(Entry(family, id, offset + i));
    return out;
}

void TableStore::Write(TableFamily family, uint8_t id, int offset,
                       std::span<const uint16_t> entries) {
    if (offset < 0) return;
    std::vector<uint16_t>& table = tables_[{family, id}];
    const std::size_t end = static_cast<std::size_t>(offset) + entries.size();
    while (table.size() < end) {
        table.push_back(Initial(family, id, static_cast<int>(table.size())));
    }
    std::copy(entries.begin(), entries.end(), table.begin() + offset);
}

std::vector<uint8_t> TableStore::Nodes(uint8_t tableId) const {
    const auto it = nodes_.find(tableId);
    const std::vector<uint8_t>& records = it != nodes_.end() ? it->second : defaultNodes_;
    std::vector<uint8_t> out;
    PutLe16(out, static_cast<uint16_t>(records.size() / kNodeBytes));
    out.insert(out.end(), records.begin(), records.end());
    return out;
}

void TableStore::SetNodes(uint8_t tableId, std::span<const uint8_t> records) {
    nodes_[tableId].assign(records.begin(), records.end());
}

}  // namespace velterra::sim
