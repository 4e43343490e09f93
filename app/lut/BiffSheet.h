#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "lut/Worksheet.h"

namespace velterra {

// Reads the first worksheet of a BIFF8 (Excel 97 and later) workbook stream: numbers (also
// formula results) and texts, booleans and errors as their displayed text. Every record is
// bounds-checked against the stream; only the cells present take memory. On failure `error`
// holds a reason the user can read and the sheet is left empty.
bool ReadBiffWorksheet(std::span<const uint8_t> stream, Worksheet& sheet, std::string& error);

}  // namespace velterra
