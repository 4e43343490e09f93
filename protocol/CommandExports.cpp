// Framed exchanges: the port's recorded kernel type chooses short frames (0) or MB frames (1).
#include "ExportGuard.h"
#include "TransportTable.h"
#include "velterradll.h"

using velterra::platform::Guarded;
using velterra::protocol::QueryKernel;
using velterra::protocol::Transport;
using velterra::protocol::TransportFor;

namespace {

constexpr uint8_t kShortKernel = 0;
constexpr uint8_t kMbKernel = 1;
// Bit 7 of a short frame's length byte marks a read.
constexpr uint16_t kMaxShortLength = 127;

}  // namespace

extern "C" {

int32_t tvr_ReadWritePort(int32_t portType, int32_t portIndex, int32_t writeFlag, uint8_t commandId,
                          uint8_t length, uint8_t* buffer) {
    return Guarded([&] {
        uint8_t kernel = 0;
        if (!QueryKernel(portType, portIndex, &kernel)) return 0;
        if (kernel == kShortKernel) {
            return TransportFor(portType)->readWritePort(portIndex, writeFlag, commandId, length,
                                                         buffer);
        }
        if (kernel != kMbKernel) return 0;
        if (writeFlag != 0) {
            return tvr_ReadWritePort2(portType, portIndex, writeFlag, commandId, length, buffer, 0,
                                      nullptr, nullptr);
        }
        return tvr_ReadWritePort2(portType, portIndex, 0, commandId, 0, nullptr, length, nullptr,
                                  buffer);
    });
}

int32_t tvr_ReadWritePort2(int32_t portType, int32_t portIndex, int32_t writeFlag,
                           uint8_t commandId, uint16_t writeLength, const uint8_t* writeData,
                           uint16_t readLength, uint16_t* replyLength, uint8_t* readBuffer) {
    return Guarded([&] {
        uint8_t kernel = 0;
        if (!QueryKernel(portType, portIndex, &kernel)) return 0;
        if (kernel == kShortKernel) {
            if (writeFlag != 0) {
                if (writeLength > kMaxShortLength) return 0;
                // A short-frame write only reads its data.
                return tvr_ReadWritePort(portType, portIndex, writeFlag, commandId,
                                         static_cast<uint8_t>(writeLength),
                                         const_cast<uint8_t*>(writeData));
            }
            if (readLength > kMaxShortLength) return 0;
            return tvr_ReadWritePort(portType, portIndex, 0, commandId,
                                     static_cast<uint8_t>(readLength), readBuffer);
        }
        if (kernel != kMbKernel) return 0;
        return TransportFor(portType)->readWritePortMb(portIndex, writeFlag, commandId, writeLength,
                                                       writeData, readLength, replyLength,
                                                       readBuffer);
    });
}

int32_t tvr_CommandPort(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t length,
                        const uint8_t* data) {
    return Guarded([&] { return tvr_CommandPort2(portType, portIndex, commandId, length, data); });
}

int32_t tvr_CommandPort2(int32_t portType, int32_t portIndex, uint8_t commandId, uint16_t length,
                         const uint8_t* data) {
    return Guarded([&] {
        uint8_t kernel = 0;
        if (!QueryKernel(portType, portIndex, &kernel)) return 0;
        const Transport* transport = TransportFor(portType);
        if (kernel == kShortKernel) {
            if (length > kMaxShortLength) return 0;
            return transport->commandPort(portIndex, commandId, static_cast<uint8_t>(length),
                                          const_cast<uint8_t*>(data));
        }
        if (kernel == kMbKernel)
            return transport->commandPortMb(portIndex, commandId, length, data);
        return 0;
    });
}

}  // extern "C"
