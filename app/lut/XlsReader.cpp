#include "lut/XlsReader.h"

#include <freexl.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "lut/CompoundFileCheck.h"
#include "lut/LutTexts.h"

namespace velterra {

namespace {

// freexl_open hands out a handle even when it fails, and that handle must be closed too.
struct HandleCloser {
    void operator()(const void* handle) const { freexl_close(handle); }
};

// FreeXL reads a damaged directory past its buffers: only a container that holds together
// is handed to it.
bool ContainerSound(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
    return !in.bad() && CompoundFileLooksSound(bytes);
}

}  // namespace

bool ReadXlsWorksheet(const std::filesystem::path& file, Worksheet& sheet, std::string& error) {
    sheet.Clear();
    if (!ContainerSound(file)) {
        error = LutTexts::kReasonDamaged;
        return false;
    }
    const void* raw = nullptr;
    int rc = freexl_open(file.c_str(), &raw);
    std::unique_ptr<const void, HandleCloser> handle(raw);
    if (rc != FREEXL_OK) {
        error =
            rc == FREEXL_INSUFFICIENT_MEMORY ? LutTexts::kReasonTooLarge : LutTexts::kReasonDamaged;
        return false;
    }
    unsigned int sheets = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0 ||
        freexl_select_active_worksheet(raw, 0) != FREEXL_OK) {
        error = LutTexts::kReasonNoWorksheet;
        return false;
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(raw, &rows, &columns) != FREEXL_OK) {
        error = LutTexts::kReasonDamaged;
        return false;
    }
    if (rows > Worksheet::kMaxRows) rows = Worksheet::kMaxRows;

    for (unsigned int row = 0; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(raw, row, column, &value) != FREEXL_OK) {
                sheet.Clear();
                error = LutTexts::kReasonDamaged;
                return false;
            }
            Worksheet::Cell cell;
            switch (value.type) {
                case FREEXL_CELL_INT:
                    cell = static_cast<double>(value.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    cell = value.value.double_value;
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    if (value.value.text_value != nullptr)
                        cell = std::string(value.value.text_value);
                    break;
                default:
                    break;
            }
            if (std::holds_alternative<std::monostate>(cell)) continue;
            if (sheet.CellCount() >= sheet.CellLimit()) {
                sheet.Clear();
                error = LutTexts::kReasonTooLarge;
                return false;
            }
            sheet.Set(row + 1, column, std::move(cell));
        }
    }
    return true;
}

}  // namespace velterra
