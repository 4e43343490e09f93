#pragma once
#include <filesystem>
#include <string>

#include "lut/Worksheet.h"

namespace velterra {

// Reads the first worksheet of a legacy .xls workbook (Excel 97 and later). Numbers and texts
// as stored; dates and times arrive as their serial numbers. On failure `error` holds a reason
// the user can read and the sheet is left empty.
bool ReadXlsWorksheet(const std::filesystem::path& file, Worksheet& sheet, std::string& error);

}  // namespace velterra
