#include "lut/CompoundFileCheck.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace velterra {

namespace {

constexpr uint8_t kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kHeaderDifatEntries = 109;
constexpr std::size_t kEntrySize = 128;
constexpr std::size_t kMiniSectorSize = 64;
constexpr uint32_t kMiniStreamCutoff = 4096;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::size_t kMaxNameBytes = 64;  // 31 UTF-16 characters and the terminating zero

enum EntryType : uint8_t { kUnused = 0, kStorage = 1, kStream = 2, kRoot = 5 };

uint16_t U16(std::span<const uint8_t> b, std::size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t U32(std::span<const uint8_t> b, std::size_t at) {
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

class Container {
  public:
    explicit Container(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool Check(std::vector<uint8_t>* workbook) {
        if (!ReadHeader() || !ReadFat()) return false;
        std::vector<uint32_t> directory;
        if (!Chain(fat_, U32(bytes_, 0x30), sectorCount_, directory) || directory.empty()) {
            return false;
        }
        for (uint32_t id : directory) {
            const auto sector = Sector(id);
            entries_.insert(entries_.end(), sector.begin(), sector.end());
        }
        entryCount_ = entries_.size() / kEntrySize;
        if (!ReadMiniFat() || !CheckEntries()) return false;
        if (workbook != nullptr) CopyWorkbook(*workbook);
        return true;
    }

  private:
    bool ReadHeader() {
        if (bytes_.size() < kHeaderSize ||
            std::memcmp(bytes_.data(), kSignature, sizeof kSignature) != 0) {
            return false;
        }
        const uint16_t major = U16(bytes_, 0x1A);
        const uint16_t shift = U16(bytes_, 0x1E);
        if (U16(bytes_, 0x1C) != 0xFFFE || U16(bytes_, 0x20) != 6) return false;
        if (!((major == 3 && shift == 9) || (major == 4 && shift == 12))) return false;
        if (U32(bytes_, 0x38) != kMiniStreamCutoff) return false;
        sectorSize_ = std::size_t{1} << shift;
        // The header fills sector -1; only whole sectors after it can be read.
        const std::size_t whole = bytes_.size() / sectorSize_;
        if (whole < 2) return false;
        sectorCount_ = static_cast<uint32_t>(std::min<std::size_t>(whole - 1, kEndOfChain - 1));
        return true;
    }

    bool ReadFat() {
        const uint32_t fatSectors = U32(bytes_, 0x2C);
        if (fatSectors == 0 || fatSectors > sectorCount_) return false;
        std::vector<uint32_t> ids;
        for (std::size_t i = 0; i < std::min<std::size_t>(fatSectors, kHeaderDifatEntries); ++i) {
            ids.push_back(U32(bytes_, 0x4C + 4 * i));
        }
        // Further table sectors are listed in the DIFAT chain: a sector of ids whose last
        // entry names the next DIFAT sector.
        uint32_t difat = U32(bytes_, 0x44);
        std::vector<bool> seen(sectorCount_, false);
        const std::size_t perSector = sectorSize_ / 4 - 1;
        while (ids.size() < fatSectors) {
            if (difat >= sectorCount_ || seen[difat]) return false;
            seen[difat] = true;
            const auto sector = Sector(difat);
            for (std::size_t i = 0; i < perSector && ids.size() < fatSectors; ++i) {
                ids.push_back(U32(sector, 4 * i));
            }
            difat = U32(sector, 4 * perSector);
        }
        for (uint32_t id : ids) {
            if (id >= sectorCount_) return false;
            const auto sector = Sector(id);
            for (std::size_t at = 0; at < sectorSize_; at += 4) fat_.push_back(U32(sector, at));
        }
        return true;
    }

    bool ReadMiniFat() {
        const uint32_t miniFatSectors = U32(bytes_, 0x40);
        if (miniFatSectors == 0) return true;
        std::vector<uint32_t> chain;
        if (!Chain(fat_, U32(bytes_, 0x3C), sectorCount_, chain) || chain.size() < miniFatSectors) {
            return false;
        }
        for (uint32_t id : chain) {
            const auto sector = Sector(id);
            for (std::size_t at = 0; at < sectorSize_; at += 4) {
                miniFat_.push_back(U32(sector, at));
            }
        }
        return true;
    }

    bool CheckEntries() {
        bool workbook = false;
        for (std::size_t i = 0; i < entryCount_; ++i) {
            const auto entry = std::span(entries_).subspan(i * kEntrySize, kEntrySize);
            const uint16_t nameBytes = U16(entry, 0x40);
            const uint8_t type = entry[0x42];
            if (nameBytes > kMaxNameBytes || nameBytes % 2 != 0) return false;
            if (type == kUnused) continue;
            if (type != kStorage && type != kStream && type != kRoot) return false;
            if ((i == 0) != (type == kRoot)) return false;
            if (!NameSound(entry, nameBytes) || entry[0x43] > 1) return false;
            for (std::size_t link : {0x44, 0x48, 0x4C}) {
                const uint32_t id = U32(entry, link);
                if (id != kNoStream && id >= entryCount_) return false;
            }
            const uint32_t start = U32(entry, 0x74);
            const uint32_t size = U32(entry, 0x78);
            // Sizes above 4 GB would be version-4 files far beyond any workbook.
            if (sectorSize_ == 4096 && U32(entry, 0x7C) != 0) return false;
            if (type == kRoot) {
                if (!StreamSound(start, size, false)) return false;
                miniSectorCount_ = static_cast<uint32_t>(size / kMiniSectorSize);
                rootStart_ = start;
                rootSize_ = size;
            } else if (type == kStream) {
                if (i == 0 || !StreamSound(start, size, size < kMiniStreamCutoff)) return false;
                if (!workbook && IsWorkbookName(entry, nameBytes)) {
                    workbook = true;
                    workbookStart_ = start;
                    workbookSize_ = size;
                }
            }
        }
        return workbook;
    }

    // The first Workbook stream's bytes; its chain was checked.
    void CopyWorkbook(std::vector<uint8_t>& out) const {
        out.clear();
        if (workbookSize_ == 0) return;
        std::vector<uint32_t> chain;
        if (workbookSize_ >= kMiniStreamCutoff) {
            Chain(fat_, workbookStart_, sectorCount_, chain);
            for (uint32_t id : chain) {
                const auto sector = Sector(id);
                out.insert(out.end(), sector.begin(), sector.end());
            }
        } else {
            // Small streams live in 64-byte pieces of the root entry's stream.
            std::vector<uint8_t> mini;
            Chain(fat_, rootStart_, sectorCount_, chain);
            for (uint32_t id : chain) {
                const auto sector = Sector(id);
                mini.insert(mini.end(), sector.begin(), sector.end());
            }
            Chain(miniFat_, workbookStart_, miniSectorCount_, chain);
            for (uint32_t id : chain) {
                const auto at = mini.begin() + std::ptrdiff_t{id} * std::ptrdiff_t{kMiniSectorSize};
                out.insert(out.end(), at, at + kMiniSectorSize);
            }
        }
        out.resize(workbookSize_);
    }

    // A terminated UTF-16 name: at least one character, none of them zero before the end.
    static bool NameSound(std::span<const uint8_t> entry, uint16_t nameBytes) {
        if (nameBytes < 4) return false;
        const std::size_t characters = nameBytes / 2;
        for (std::size_t c = 0; c + 1 < characters; ++c) {
            if (U16(entry, 2 * c) == 0) return false;
        }
        return U16(entry, 2 * (characters - 1)) == 0;
    }

    static bool IsWorkbookName(std::span<const uint8_t> entry, uint16_t nameBytes) {
        std::string name;
        for (std::size_t c = 0; c + 1 < nameBytes / 2u; ++c) {
            const uint16_t unit = U16(entry, 2 * c);
            name += unit < 0x80 ? static_cast<char>(unit | 0x20) : '?';
        }
        return name == "workbook" || name == "book";
    }

    // A stream's chain stays in its sectors, has no loop and holds all of its bytes.
    bool StreamSound(uint32_t start, uint32_t size, bool mini) const {
        if (size == 0) return true;
        std::vector<uint32_t> chain;
        if (mini) {
            // The mini stream lives in the root entry, which comes first.
            if (!Chain(miniFat_, start, miniSectorCount_, chain)) return false;
            return chain.size() * kMiniSectorSize >= size;
        }
        if (!Chain(fat_, start, sectorCount_, chain)) return false;
        return chain.size() * sectorSize_ >= size;
    }

    static bool Chain(const std::vector<uint32_t>& table, uint32_t start, uint32_t limit,
                      std::vector<uint32_t>& out) {
        out.clear();
        const auto bound = static_cast<uint32_t>(std::min<std::size_t>(limit, table.size()));
        std::vector<bool> seen(bound, false);
        for (uint32_t id = start; id != kEndOfChain; id = table[id]) {
            if (id >= bound || seen[id]) return false;
            seen[id] = true;
            out.push_back(id);
        }
        return true;
    }

    std::span<const uint8_t> Sector(uint32_t id) const {
        return bytes_.subspan((std::size_t{id} + 1) * sectorSize_, sectorSize_);
    }

    std::span<const uint8_t> bytes_;
    std::size_t sectorSize_ = 0;
    uint32_t sectorCount_ = 0;
    std::vector<uint32_t> fat_;
    std::vector<uint32_t> miniFat_;
    uint32_t miniSectorCount_ = 0;
    std::vector<uint8_t> entries_;
    std::size_t entryCount_ = 0;
    uint32_t rootStart_ = kEndOfChain;
    uint32_t rootSize_ = 0;
    uint32_t workbookStart_ = kEndOfChain;
    uint32_t workbookSize_ = 0;
};

}  // namespace

bool CompoundFileLooksSound(std::span<const uint8_t> bytes) {
    return Container(bytes).Check(nullptr);
}

bool ReadCompoundWorkbookStream(std::span<const uint8_t> bytes, std::vector<uint8_t>& stream) {
    stream.clear();
    return Container(bytes).Check(&stream);
}

}  // namespace velterra
