#include "MenuTableSet.h"

namespace velterra {

namespace {

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool SameTableName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Fold(a[i]) != Fold(b[i])) return false;
    }
    return true;
}

const MenuTable* MenuTableSet::Find(std::string_view name) const {
    for (const auto& table : tables) {
        if (SameTableName(table.name, name)) return &table;
    }
    return nullptr;
}

std::string MenuColumnTypeName(int type) {
    switch (type) {
        case 0x01:
            return "Yes/No";
        case 0x02:
            return "Byte";
        case 0x03:
            return "Integer";
        case 0x04:
            return "Long Integer";
        case 0x05:
            return "Currency";
        case 0x06:
            return "Single";
        case 0x07:
            return "Double";
        case 0x08:
            return "Date/Time";
        case 0x09:
            return "Binary";
        case 0x0a:
            return "Text";
        case 0x0b:
            return "OLE Object";
        case 0x0c:
            return "Memo";
        case 0x0f:
            return "Replication ID";
        case 0x10:
            return "Decimal";
        default:
            return "type " + std::to_string(type);
    }
}

}  // namespace velterra
