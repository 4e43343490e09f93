#pragma once
#include <filesystem>
#include <string>

#include "lut/Worksheet.h"

namespace velterra {

// The first worksheet of a workbook file, whatever its name says: the content decides
// between .xlsx (a zip package) and .xls (a compound document). On failure `error` holds a
// reason the user can read ("No such file or directory", "the workbook is damaged", ...).
bool LoadWorksheet(const std::filesystem::path& file, Worksheet& sheet, std::string& error);

// Saves the sheet as an .xlsx workbook.
bool SaveWorksheet(const std::filesystem::path& file, const Worksheet& sheet, std::string& error);

}  // namespace velterra
