#include "lut/BiffSheet.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "lut/LutTexts.h"
#include "lut/Utf8.h"

namespace velterra {

namespace {

enum RecordType : uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kContinue = 0x003C,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kBof = 0x0809,
};
constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kWorksheetSubstream = 0x0010;

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
double F64(const uint8_t* p) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

struct Record {
    uint16_t type = 0;
    std::span<const uint8_t> data;
};

// The record at `pos`, moving `pos` past it; false at the end or when it would leave the stream.
bool NextRecord(std::span<const uint8_t> stream, std::size_t& pos, Record& record) {
    if (stream.size() - pos < 4) return false;
    const uint16_t length = U16(&stream[pos + 2]);
    if (stream.size() - pos - 4 < length) return false;
    record.type = U16(&stream[pos]);
    record.data = stream.subspan(pos + 4, length);
    pos += 4 + std::size_t{length};
    return true;
}

// UTF-16 code units as UTF-8; a surrogate without its partner becomes U+FFFD.
std::string Utf8(const std::vector<uint16_t>& units) {
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const uint32_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
        }
    }
    return out;
}

// A record's data followed by its CONTINUE records, read as one; a text that runs into the next
// piece starts there again with its own flags byte, as the format splits them.
class ContinuedData {
  public:
    ContinuedData(std::span<const uint8_t> stream, std::size_t& pos, std::span<const uint8_t> first)
        : pieces_{first} {
        Record next;
        std::size_t at = pos;
        while (NextRecord(stream, at, next) && next.type == kContinue) {
            pieces_.push_back(next.data);
            pos = at;
        }
    }

    bool U8(uint8_t& value) {
        if (!Settle()) return false;
        value = pieces_[piece_][at_++];
        return true;
    }
    bool U16(uint16_t& value) {
        uint8_t low = 0;
        uint8_t high = 0;
        if (!U8(low) || !U8(high)) return false;
        value = static_cast<uint16_t>(low | (high << 8));
        return true;
    }
    bool U32(uint32_t& value) {
        uint16_t low = 0;
        uint16_t high = 0;
        if (!U16(low) || !U16(high)) return false;
        value = low | (static_cast<uint32_t>(high) << 16);
        return true;
    }
    bool Skip(uint64_t count) {
        while (count > 0) {
            if (!Settle()) return false;
            const std::size_t step =
                static_cast<std::size_t>(std::min<uint64_t>(count, pieces_[piece_].size() - at_));
            at_ += step;
            count -= step;
        }
        return true;
    }
    // `count` characters, one or two bytes each as `wide` says, into `units`.
    bool Characters(uint16_t count, bool wide, std::vector<uint16_t>& units) {
        units.clear();
        while (units.size() < count) {
            if (at_ == pieces_[piece_].size()) {
                if (piece_ + 1 == pieces_.size()) return false;
                ++piece_;
                at_ = 0;
                uint8_t flags = 0;
                if (!U8(flags)) return false;
                wide = (flags & 0x01) != 0;
                continue;
            }
            uint16_t unit = 0;
            if (wide) {
                if (!U16(unit)) return false;
            } else {
                uint8_t byte = 0;
                if (!U8(byte)) return false;
                unit = byte;
            }
            units.push_back(unit);
        }
        return true;
    }

  private:
    // Moves to the next piece when this one is used up; false at the very end.
    bool Settle() {
        while (at_ == pieces_[piece_].size()) {
            if (piece_ + 1 == pieces_.size()) return false;
            ++piece_;
            at_ = 0;
        }
        return true;
    }

    std::vector<std::span<const uint8_t>> pieces_;
    std::size_t piece_ = 0;
    std::size_t at_ = 0;
};

// A text as the format writes it: character count (one or two bytes), flags, optional rich-text
// and extension sizes, the characters, then the rich-text runs and extension data.
bool ReadText(ContinuedData& data, bool shortCount, std::string& text) {
    uint16_t count = 0;
    if (shortCount) {
        uint8_t small = 0;
        if (!data.U8(small)) return false;
        count = small;
    } else if (!data.U16(count)) {
        return false;
    }
    uint8_t flags = 0;
    if (!data.U8(flags)) return false;
    uint16_t runs = 0;
    uint32_t extension = 0;
    if ((flags & 0x08) != 0 && !data.U16(runs)) return false;
    if ((flags & 0x04) != 0 && !data.U32(extension)) return false;
    std::vector<uint16_t> units;
    if (!data.Characters(count, (flags & 0x01) != 0, units)) return false;
    if (!data.Skip(4ull * runs) || !data.Skip(extension)) return false;
    text = Utf8(units);
    return true;
}

double RkValue(uint32_t rk) {
    double value = 0;
    if ((rk & 0x02) != 0) {
        value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    } else {
        uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) != 0 ? value / 100 : value;
}

std::string BoolErrText(uint8_t value, bool isError) {
    if (!isError) return value != 0 ? "TRUE" : "FALSE";
    switch (value) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        default:
            return "#N/A";
    }
}

class SheetReader {
  public:
    SheetReader(std::span<const uint8_t> stream, Worksheet& sheet)
        : stream_(stream), sheet_(sheet) {}

    // Empty on success, else the reason.
    const char* Read() {
        std::size_t sheetAt = 0;
        if (const char* failure = ReadGlobals(sheetAt)) return failure;
        return ReadSheet(sheetAt);
    }

  private:
    const char* ReadGlobals(std::size_t& sheetAt) {
        std::size_t pos = 0;
        Record record;
        if (!NextRecord(stream_, pos, record) || record.type != kBof || record.data.size() < 4 ||
            U16(record.data.data()) != kBiff8) {
            return LutTexts::kReasonDamaged;
        }
        bool found = false;
        while (NextRecord(stream_, pos, record) && record.type != kEof) {
            if (record.type == kSst) {
                ContinuedData data(stream_, pos, record.data);
                if (!ReadStrings(data)) return LutTexts::kReasonDamaged;
            } else if (record.type == kBoundSheet && !found && record.data.size() >= 6 &&
                       record.data[5] == 0) {  // the first sheet that is a worksheet
                sheetAt = U32(record.data.data());
                found = true;
            }
        }
        if (record.type != kEof) return LutTexts::kReasonDamaged;
        return found ? nullptr : LutTexts::kReasonNoWorksheet;
    }

    bool ReadStrings(ContinuedData& data) {
        uint32_t total = 0;
        uint32_t unique = 0;
        if (!data.U32(total) || !data.U32(unique)) return false;
        // Each text takes at least three bytes: the count cannot claim more than the stream holds.
        if (unique > stream_.size() / 3) return false;
        strings_.reserve(unique);
        for (uint32_t i = 0; i < unique; ++i) {
            std::string text;
            if (!ReadText(data, false, text)) return false;
            strings_.push_back(std::move(text));
        }
        return true;
    }

    const char* ReadSheet(std::size_t pos) {
        Record record;
        if (pos > stream_.size() || !NextRecord(stream_, pos, record) || record.type != kBof ||
            record.data.size() < 4 || U16(record.data.data()) != kBiff8 ||
            U16(record.data.data() + 2) != kWorksheetSubstream) {
            return LutTexts::kReasonDamaged;
        }
        int depth = 1;  // charts and other objects nest their own BOF .. EOF
        while (NextRecord(stream_, pos, record)) {
            if (record.type == kBof) ++depth;
            if (record.type == kEof && --depth == 0) return nullptr;
            if (depth != 1) continue;
            if (const char* failure = ReadCell(record, pos)) return failure;
        }
        return LutTexts::kReasonDamaged;
    }

    const char* ReadCell(const Record& record, std::size_t& pos) {
        const auto& d = record.data;
        const uint8_t* p = d.data();
        switch (record.type) {
            case kNumber:
                if (d.size() < 14) return LutTexts::kReasonDamaged;
                return Put(U16(p), U16(p + 2), F64(p + 6));
            case kRk:
                if (d.size() < 10) return LutTexts::kReasonDamaged;
                return Put(U16(p), U16(p + 2), RkValue(U32(p + 6)));
            case kMulRk: {
                if (d.size() < 6 || (d.size() - 6) % 6 != 0) return LutTexts::kReasonDamaged;
                const uint16_t first = U16(p + 2);
                const std::size_t count = (d.size() - 6) / 6;
                for (std::size_t i = 0; i < count; ++i) {
                    if (const char* failure = Put(U16(p), static_cast<uint32_t>(first + i),
                                                  RkValue(U32(p + 6 + 6 * i))))
                        return failure;
                }
                return nullptr;
            }
            case kLabelSst: {
                if (d.size() < 10) return LutTexts::kReasonDamaged;
                const uint32_t index = U32(p + 6);
                if (index >= strings_.size()) return LutTexts::kReasonDamaged;
                return Put(U16(p), U16(p + 2), strings_[index]);
            }
            case kLabel: {
                if (d.size() < 6) return LutTexts::kReasonDamaged;
                ContinuedData data(stream_, pos, d.subspan(6));
                std::string text;
                if (!ReadText(data, false, text)) return LutTexts::kReasonDamaged;
                return Put(U16(p), U16(p + 2), std::move(text));
            }
            case kBoolErr:
                if (d.size() < 8) return LutTexts::kReasonDamaged;
                return Put(U16(p), U16(p + 2), BoolErrText(p[6], p[7] != 0));
            case kFormula:
                return ReadFormula(record, pos);
            default:
                return nullptr;
        }
    }

    // A formula's cached result: a number, or a marker whose text follows in a STRING record.
    const char* ReadFormula(const Record& record, std::size_t& pos) {
        const auto& d = record.data;
        const uint8_t* p = d.data();
        if (d.size() < 14) return LutTexts::kReasonDamaged;
        const uint32_t row = U16(p);
        const uint32_t column = U16(p + 2);
        const uint8_t* result = p + 6;
        if (U16(result + 6) != 0xFFFF) return Put(row, column, F64(result));
        switch (result[0]) {
            case 0: {
                Record text;
                std::size_t at = pos;
                if (!NextRecord(stream_, at, text) || text.type != kString) return nullptr;
                pos = at;
                ContinuedData data(stream_, pos, text.data);
                std::string value;
                if (!ReadText(data, false, value)) return LutTexts::kReasonDamaged;
                return Put(row, column, std::move(value));
            }
            case 1:
            case 2:
                return Put(row, column, BoolErrText(result[2], result[0] == 2));
            default:  // an empty text
                return nullptr;
        }
    }

    const char* Put(uint32_t row, uint32_t column, Worksheet::Cell cell) {
        if (row >= Worksheet::kMaxRows || column >= Worksheet::kMaxColumns) return nullptr;
        if (const double* number = std::get_if<double>(&cell); number && !std::isfinite(*number))
            return LutTexts::kReasonDamaged;
        if (sheet_.CellCount() >= sheet_.CellLimit()) return LutTexts::kReasonTooLarge;
        sheet_.Set(row + 1, column, std::move(cell));
        return nullptr;
    }

    std::span<const uint8_t> stream_;
    Worksheet& sheet_;
    std::vector<std::string> strings_;
};

}  // namespace

bool ReadBiffWorksheet(std::span<const uint8_t> stream, Worksheet& sheet, std::string& error) {
    sheet.Clear();
    if (const char* failure = SheetReader(stream, sheet).Read()) {
        sheet.Clear();
        error = failure;
        return false;
    }
    return true;
}

}  // namespace velterra
