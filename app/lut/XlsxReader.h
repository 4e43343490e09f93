#pragma once
#include <cstddef>
#include <filesystem>
#include <string>

#include "lut/Worksheet.h"

namespace velterra {

// Reads the first worksheet of an .xlsx workbook (tab order, chart sheets skipped): numbers,
// shared and inline strings, formula results as last saved, booleans and errors as their
// text. On failure `error` holds a reason the user can read and the sheet is left empty.
bool ReadXlsxWorksheet(const std::filesystem::path& file, Worksheet& sheet, std::string& error);
bool ReadXlsxWorksheet(const void* data, size_t size, Worksheet& sheet, std::string& error);

}  // namespace velterra
