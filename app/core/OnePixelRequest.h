#pragma once
#include <cstdint>

namespace velterra {

// The one-pixel correction request the Pixel Set dialog stores and the "OnePixelWrite" camera
// function sends; kept by the program between uses of the dialog.
struct OnePixelRequest {
    uint16_t TableKind = 0;    // 0 FPN, 1 PRNU
    uint32_t PixelNumber = 0;  // 1-based: the entered 0-based number + 1
    int32_t Value = 0;         // the command carries its low 16 bits
};

}  // namespace velterra
