#include "lut/WorkbookFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "InputFile.h"
#include "lut/LutTexts.h"
#include "lut/XlsReader.h"
#include "lut/XlsxReader.h"
#include "lut/XlsxWriter.h"

namespace velterra {

namespace {

const unsigned char kZipMagic[] = {'P', 'K'};
const unsigned char kCompoundMagic[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

}  // namespace

bool LoadWorksheet(const std::filesystem::path& file, Worksheet& sheet, std::string& error) {
    sheet.Clear();
    // Checked before the open, which would block on a FIFO.
    error = platform::InputFileProblem(file, platform::kWorkbookLimitMb);
    if (!error.empty()) return false;
    std::unique_ptr<FILE, decltype(&std::fclose)> stream(std::fopen(file.c_str(), "rb"),
                                                         &std::fclose);
    if (!stream) {
        error = std::strerror(errno);
        return false;
    }
    unsigned char head[sizeof kCompoundMagic] = {};
    errno = 0;
    size_t got = std::fread(head, 1, sizeof head, stream.get());
    if (std::ferror(stream.get())) {  // a directory, for one
        error = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    stream.reset();

    if (got >= sizeof kZipMagic && std::memcmp(head, kZipMagic, sizeof kZipMagic) == 0)
        return ReadXlsxWorksheet(file, sheet, error);
    if (got == sizeof kCompoundMagic && std::memcmp(head, kCompoundMagic, sizeof head) == 0)
        return ReadXlsWorksheet(file, sheet, error);
    error = LutTexts::kReasonNotWorkbook;
    return false;
}

bool SaveWorksheet(const std::filesystem::path& file, const Worksheet& sheet, std::string& error) {
    return WriteXlsxWorksheet(file, sheet, error);
}

}  // namespace velterra
