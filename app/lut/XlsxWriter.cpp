#include "lut/XlsxWriter.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velterra {

namespace {

// libxlsxwriter writes every cell at close time; a write error before that says which cell
// could not be taken, so the first one is kept.
lxw_error WriteCells(lxw_worksheet* worksheet, const Worksheet& sheet) {
    lxw_error first = LXW_NO_ERROR;
    sheet.ForEachCell([&](uint32_t row, uint32_t column, const Worksheet::Cell& cell) {
        lxw_error error = LXW_NO_ERROR;
        auto r = static_cast<lxw_row_t>(row - 1);
        auto c = static_cast<lxw_col_t>(column);
        if (const auto* number = std::get_if<double>(&cell))
            error = worksheet_write_number(worksheet, r, c, *number, nullptr);
        else if (const auto* text = std::get_if<std::string>(&cell))
            error = worksheet_write_string(worksheet, r, c, text->c_str(), nullptr);
        if (first == LXW_NO_ERROR) first = error;
    });
    return first;
}

}  // namespace

bool WriteXlsxWorksheet(const std::filesystem::path& file, const Worksheet& sheet,
                        std::string& error) {
    std::filesystem::path temporary = file;
    temporary.replace_filename("." + file.filename().string() + "." + std::to_string(getpid()) +
                               ".tmp");

    // libxlsxwriter only creates the file when it closes the workbook and then reports no
    // reason; trying the place first gives the user the system's own words.
    FILE* probe = std::fopen(temporary.c_str(), "wb");
    if (probe == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    std::fclose(probe);

    lxw_workbook* workbook = workbook_new(temporary.c_str());
    lxw_worksheet* worksheet =
        workbook != nullptr ? workbook_add_worksheet(workbook, nullptr) : nullptr;
    if (worksheet == nullptr) {
        if (workbook != nullptr) workbook_close(workbook);
        std::remove(temporary.c_str());
        error = std::strerror(ENOMEM);
        return false;
    }
    lxw_error result = WriteCells(worksheet, sheet);
    lxw_error closed = workbook_close(workbook);  // frees the workbook whatever it returns
    if (result == LXW_NO_ERROR) result = closed;
    if (result != LXW_NO_ERROR) {
        std::remove(temporary.c_str());
        error = lxw_strerror(result);
        return false;
    }
    if (std::rename(temporary.c_str(), file.c_str()) != 0) {
        error = std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace velterra
