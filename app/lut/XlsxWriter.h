#pragma once
#include <filesystem>
#include <string>

#include "lut/Worksheet.h"

namespace velterra {

// Writes the sheet as the only worksheet of a new .xlsx workbook: numbers as numbers, texts as
// texts. The file is written beside the target and moved over it when complete, so a failed
// save never damages an existing file. On failure `error` holds a reason the user can read.
bool WriteXlsxWorksheet(const std::filesystem::path& file, const Worksheet& sheet,
                        std::string& error);

}  // namespace velterra
