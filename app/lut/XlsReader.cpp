#include "lut/XlsReader.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "lut/BiffSheet.h"
#include "lut/CompoundFileCheck.h"
#include "lut/LutTexts.h"

namespace velterra {

// The container and the sheet's records are read here rather than by a workbook library: the
// one at hand reads damaged directories and records past its buffers.
bool ReadXlsWorksheet(const std::filesystem::path& file, Worksheet& sheet, std::string& error) {
    sheet.Clear();
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = std::strerror(errno);
        return false;
    }
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
    if (in.bad()) {
        error = std::strerror(EIO);
        return false;
    }
    std::vector<uint8_t> stream;
    if (!ReadCompoundWorkbookStream(bytes, stream)) {
        error = LutTexts::kReasonDamaged;
        return false;
    }
    return ReadBiffWorksheet(stream, sheet, error);
}

}  // namespace velterra
