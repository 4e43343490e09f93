#include "lut/Worksheet.h"

#include <charconv>

namespace velterra {

namespace {
const Worksheet::Cell kEmptyCell;
}

bool Worksheet::ParseCellName(std::string_view name, uint32_t& row, uint32_t& column) {
    size_t i = 0;
    uint32_t col = 0;
    while (i < name.size() && name[i] >= 'A' && name[i] <= 'Z') {
        col = col * 26 + static_cast<uint32_t>(name[i] - 'A' + 1);
        if (++i > 3) return false;
    }
    if (i == 0 || i == name.size() || name[i] == '0') return false;
    uint32_t r = 0;
    for (; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return false;
        r = r * 10 + static_cast<uint32_t>(name[i] - '0');
        if (r > kMaxRows) return false;
    }
    if (col > kMaxColumns) return false;
    row = r;
    column = col - 1;
    return true;
}

std::string Worksheet::CellName(uint32_t row, uint32_t column) {
    std::string letters;
    for (uint32_t c = column + 1; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row);
}

void Worksheet::SetNumber(std::string_view name, double value) {
    uint32_t row, column;
    if (ParseCellName(name, row, column)) Set(row, column, value);
}

void Worksheet::SetText(std::string_view name, std::string text) {
    uint32_t row, column;
    if (ParseCellName(name, row, column)) Set(row, column, std::move(text));
}

void Worksheet::Set(uint32_t row, uint32_t column, Cell cell) {
    if (row < 1 || row > kMaxRows || column >= kMaxColumns) return;
    if (std::holds_alternative<std::monostate>(cell))
        cells_.erase(Key(row, column));
    else
        cells_[Key(row, column)] = std::move(cell);
}

const Worksheet::Cell& Worksheet::At(uint32_t row, uint32_t column) const {
    auto it = cells_.find(Key(row, column));
    return it == cells_.end() ? kEmptyCell : it->second;
}

const Worksheet::Cell& Worksheet::At(std::string_view name) const {
    uint32_t row, column;
    return ParseCellName(name, row, column) ? At(row, column) : kEmptyCell;
}

std::string Worksheet::Text(std::string_view name) const {
    const Cell& cell = At(name);
    if (const auto* text = std::get_if<std::string>(&cell)) return *text;
    if (const auto* number = std::get_if<double>(&cell)) {
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, *number);
        return std::string(buffer, result.ptr);
    }
    return {};
}

std::optional<double> Worksheet::Number(std::string_view name) const {
    if (const auto* number = std::get_if<double>(&At(name))) return *number;
    return std::nullopt;
}

}  // namespace velterra
