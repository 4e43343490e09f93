// Single correction values, addressed by kind and pixel number.
#include "BulkBytes.h"
#include "BulkKernel.h"
#include "ExportGuard.h"
#include "velterradll.h"

using velterra::platform::Guarded;
using namespace velterra::bulk;

int32_t tvr_OnePixelWriteNew(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t kind,
                             uint16_t pixel, uint16_t value) {
    return Guarded([&] {
        uint8_t payload[5] = {kind};
        PutLe16(payload + 1, pixel);
        PutLe16(payload + 3, value);
        // Chooses the short frame or the MB frame by the port's kernel type.
        return tvr_CommandPort2(portType, portIndex, commandId, sizeof payload, payload) != 0 ? 1
                                                                                              : 0;
    });
}

int32_t tvr_OnePixelRead(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t kind,
                         uint16_t pixel, uint16_t* value) {
    return Guarded([&] {
        if (value == nullptr) return 0;
        const auto kernel = QueryKernel(portType, portIndex);
        if (!kernel || *kernel != kShortFrameKernel) return 0;
        // The read request carries no data, so kind and pixel never reach the camera; the reply
        // mirrors this layout and brings the value in its last two bytes.
        uint8_t reply[5] = {kind};
        PutLe16(reply + 1, pixel);
        if (tvr_ReadWritePort(portType, portIndex, 0, commandId, sizeof reply, reply) == 0)
            return 0;
        *value = GetLe16(reply + 3);
        return 1;
    });
}
