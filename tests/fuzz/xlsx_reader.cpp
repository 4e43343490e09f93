// Feeds arbitrary bytes to the .xlsx reader and whatever sheet comes out to the LUT workbook
// reader: neither may crash, hang or overrun, whatever the zip or the XML holds.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/UserInterface.h"
#include "lut/LutWorkbook.h"
#include "lut/Worksheet.h"
#include "lut/XlsxReader.h"

using namespace velterra;

namespace {

class SilentUi : public IUserInterface {
  public:
    void ShowMessage(const std::string&, MessageKind) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Worksheet sheet;
    std::string error;
    if (!ReadXlsxWorksheet(data, size, sheet, error)) return 0;
    SilentUi ui;
    bool isColor = false;
    int16_t bits = 0;
    int taps = 0;
    std::vector<uint16_t> lut, counts, nodes;
    if (ReadLutWorkbook(ui, sheet, isColor, bits, taps, lut, &counts, &nodes)) {
        // What was read must hold together: the writer takes it back without complaint.
        Worksheet copy;
        bool v2 = !counts.empty();
        if (!WriteLutWorkbook(ui, copy, isColor, bits, taps, lut, v2 ? &counts : nullptr,
                              v2 ? &nodes : nullptr))
            __builtin_trap();
    }
    return 0;
}
