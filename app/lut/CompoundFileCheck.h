#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace velterra {

// Checks the container of a legacy .xls workbook (the compound file: header, sector tables,
// directory) before the workbook library parses it. That library trusts the directory: a
// damaged entry name or a sector chain that leaves the file sends it past its own buffers.
// True when every structure it walks is in bounds: a known sector size, table sectors and
// chains inside the file and free of loops, directory entries with sane names, types and
// links, and a "Workbook" or "Book" stream whose chain covers its size.
bool CompoundFileLooksSound(std::span<const uint8_t> bytes);

}  // namespace velterra
