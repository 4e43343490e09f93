#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velterra {

// Checks the container of a legacy .xls workbook (the compound file: header, sector tables,
// directory) before anything is read from it. True when every structure is in bounds: a known
// sector size, table sectors and chains inside the file and free of loops, directory entries
// with sane names, types and links, and a "Workbook" or "Book" stream whose chain covers its
// size.
bool CompoundFileLooksSound(std::span<const uint8_t> bytes);

// The same check, then the bytes of the first Workbook (or Book) stream into `stream`.
bool ReadCompoundWorkbookStream(std::span<const uint8_t> bytes, std::vector<uint8_t>& stream);

}  // namespace velterra
