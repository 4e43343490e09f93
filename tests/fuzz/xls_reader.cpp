// Feeds arbitrary bytes to the .xls reader (the container, then the sheet's records) and whatever
// sheet comes out to the LUT workbook reader: none may crash, hang or overrun.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/UserInterface.h"
#include "lut/LutWorkbook.h"
#include "lut/Worksheet.h"
#include "lut/XlsReader.h"

using namespace velterra;

namespace {

class SilentUi : public IUserInterface {
  public:
    void ShowMessage(const std::string&, MessageKind) override {}
};

// The reader opens files by name: the input goes into a file that lives in memory.
class MemoryFile {
  public:
    MemoryFile() : fd_(memfd_create("xls", MFD_CLOEXEC)) {}
    ~MemoryFile() {
        if (fd_ >= 0) close(fd_);
    }
    bool Hold(const uint8_t* data, size_t size) {
        if (fd_ < 0 || ftruncate(fd_, 0) != 0) return false;
        size_t done = 0;
        while (done < size) {
            const ssize_t n = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            if (n <= 0) return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

  private:
    int fd_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryFile file;
    if (!file.Hold(data, size)) return 0;
    Worksheet sheet;
    std::string error;
    if (!ReadXlsWorksheet(file.Path(), sheet, error)) return 0;
    SilentUi ui;
    bool isColor = false;
    int16_t bits = 0;
    int taps = 0;
    std::vector<uint16_t> lut, counts, nodes;
    ReadLutWorkbook(ui, sheet, isColor, bits, taps, lut, &counts, &nodes);
    return 0;
}
