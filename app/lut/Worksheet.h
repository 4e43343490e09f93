#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>

namespace velterra {

// One worksheet of a workbook held in memory: the cells the LUT workbook reader and writer
// address by name ("C12"). A cell is empty, a number or a text, as a spreadsheet holds them;
// booleans and error values of a file arrive as their displayed text.
class Worksheet {
  public:
    using Cell = std::variant<std::monostate, double, std::string>;

    // Largest sheet of the file formats: rows 1..1048576, columns A..XFD.
    static constexpr uint32_t kMaxRows = 1048576;
    static constexpr uint32_t kMaxColumns = 16384;

    // "C12" -> row 12, column 2 (0-based). Letters are upper case as written by the "%c%d"
    // names; false for anything that is not a cell of the sheet.
    static bool ParseCellName(std::string_view name, uint32_t& row, uint32_t& column);
    static std::string CellName(uint32_t row, uint32_t column);

    // Setting by name ignores names that are not cells; the callers build names themselves.
    void SetNumber(std::string_view name, double value);
    void SetText(std::string_view name, std::string text);
    void Set(uint32_t row, uint32_t column, Cell cell);

    const Cell& At(std::string_view name) const;
    const Cell& At(uint32_t row, uint32_t column) const;

    // What the cell shows: a text as it stands, a number in its shortest form, empty as "".
    std::string Text(std::string_view name) const;
    // The cell's value when it is a number.
    std::optional<double> Number(std::string_view name) const;

    size_t CellCount() const { return cells_.size(); }
    void Clear() { cells_.clear(); }

    // How many cells a file reader may put here before it refuses the file as too large. The
    // default is far beyond any LUT (65536 values at most) and keeps a crafted file from
    // eating the memory.
    static constexpr size_t kDefaultCellLimit = size_t{1} << 20;
    size_t CellLimit() const { return cellLimit_; }
    void SetCellLimit(size_t limit) { cellLimit_ = limit; }

    template <typename F>
    void ForEachCell(F&& visit) const {
        for (const auto& [key, cell] : cells_)
            visit(static_cast<uint32_t>(key >> 16), static_cast<uint32_t>(key & 0xFFFF), cell);
    }

  private:
    static uint64_t Key(uint32_t row, uint32_t column) {
        return (static_cast<uint64_t>(row) << 16) | column;
    }

    std::unordered_map<uint64_t, Cell> cells_;
    size_t cellLimit_ = kDefaultCellLimit;
};

}  // namespace velterra
