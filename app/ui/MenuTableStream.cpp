#include "MenuTableStream.h"

#include <cstdint>

namespace velterra {

namespace {

void PutU32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutText(std::string& out, const std::string& text) {
    PutU32(out, static_cast<uint32_t>(text.size()));
    out += text;
}

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool U8(uint8_t& value) {
        if (bytes_.empty()) return false;
        value = static_cast<uint8_t>(bytes_.front());
        bytes_.remove_prefix(1);
        return true;
    }
    bool U32(uint32_t& value) {
        if (bytes_.size() < 4) return false;
        value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[i])) << (8 * i);
        }
        bytes_.remove_prefix(4);
        return true;
    }
    bool Text(std::string& text) {
        uint32_t size = 0;
        if (!U32(size) || size > bytes_.size()) return false;
        text.assign(bytes_.substr(0, size));
        bytes_.remove_prefix(size);
        return true;
    }
    // A count of items of at least `minimumSize` bytes each that can still follow.
    bool Count(uint32_t& count, std::size_t minimumSize) {
        return U32(count) && count <= bytes_.size() / minimumSize;
    }
    bool AtEnd() const { return bytes_.empty(); }

  private:
    std::string_view bytes_;
};

bool DecodeTable(Reader& in, MenuTable& table) {
    if (!in.Text(table.name)) return false;
    std::size_t present = 0;
    for (auto& type : table.columnTypes) {
        uint32_t value = 0;
        if (!in.U32(value)) return false;
        type = static_cast<int>(value & 0xFF);
        if (type != MenuColumnType::kMissing) ++present;
    }
    // Each present field takes at least its null flag and its length.
    uint32_t rows = 0;
    if (!in.Count(rows, present == 0 ? 1 : present * 5)) return false;
    if (present == 0 && rows != 0) return false;
    table.rows.resize(rows);
    for (auto& row : table.rows) {
        for (std::size_t c = 0; c < kMenuColumnCount; ++c) {
            if (table.columnTypes[c] == MenuColumnType::kMissing) continue;
            uint8_t null = 0;
            if (!in.U8(null) || null > 1 || !in.Text(row[c].text)) return false;
            row[c].null = null != 0;
        }
    }
    return true;
}

}  // namespace

std::string EncodeMenuTables(MenuReadStatus status, const MenuTableSet& tables) {
    std::string out(1, static_cast<char>(status));
    PutU32(out, static_cast<uint32_t>(tables.tables.size()));
    for (const auto& table : tables.tables) {
        PutText(out, table.name);
        for (int type : table.columnTypes) PutU32(out, static_cast<uint32_t>(type));
        PutU32(out, static_cast<uint32_t>(table.rows.size()));
        for (const auto& row : table.rows) {
            for (std::size_t c = 0; c < kMenuColumnCount; ++c) {
                if (table.columnTypes[c] == MenuColumnType::kMissing) continue;
                out.push_back(row[c].null ? 1 : 0);
                PutText(out, row[c].text);
            }
        }
    }
    return out;
}

bool DecodeMenuTables(std::string_view bytes, MenuReadStatus& status, MenuTableSet& tables) {
    Reader in(bytes);
    uint8_t code = 0;
    if (!in.U8(code)) return false;
    switch (static_cast<MenuReadStatus>(code)) {
        case MenuReadStatus::Read:
        case MenuReadStatus::NotADatabase:
        case MenuReadStatus::TooManyTables:
        case MenuReadStatus::TooLarge:
            status = static_cast<MenuReadStatus>(code);
            break;
        default:
            return false;
    }
    // A table takes at least its name length, 8 types and a row count.
    uint32_t count = 0;
    if (!in.Count(count, 40)) return false;
    tables.tables.assign(count, MenuTable{});
    for (auto& table : tables.tables) {
        if (!DecodeTable(in, table)) return false;
    }
    return in.AtEnd();
}

}  // namespace velterra
