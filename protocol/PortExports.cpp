// Opening, closing and raw transfers: forwarded to the transport of the port type.
#include "ExportGuard.h"
#include "TransportTable.h"
#include "velterradll.h"

using velterra::platform::Guarded;
using velterra::protocol::Transport;
using velterra::protocol::TransportFor;

extern "C" {

int32_t tvr_OpenPort(int32_t portType, int32_t portIndex) {
    return Guarded([&] { return tvr_OpenPort3(portType, portIndex, 9600, 0); });
}

int32_t tvr_OpenPort2(int32_t portType, int32_t portIndex, uint32_t baudRate) {
    return Guarded([&] { return tvr_OpenPort3(portType, portIndex, baudRate, 0); });
}

int32_t tvr_OpenPort3(int32_t portType, int32_t portIndex, uint32_t baudRate, uint8_t kernelType) {
    return Guarded([&] {
        if (kernelType > 1) return 0;
        const Transport* transport = TransportFor(portType);
        return transport ? transport->openPort(portIndex, baudRate, kernelType) : 0;
    });
}

int32_t tvr_ClosePort(int32_t portType, int32_t portIndex) {
    return Guarded([&] {
        const Transport* transport = TransportFor(portType);
        return transport ? transport->closePort(portIndex) : 0;
    });
}

int32_t tvr_ReadWritePortDirect(int32_t portType, int32_t portIndex, int32_t writeFlag,
                                int32_t count, uint8_t* buffer) {
    return Guarded([&] {
        const Transport* transport = TransportFor(portType);
        return transport ? transport->readWritePortDirect(portIndex, writeFlag, count, buffer) : 0;
    });
}

}  // extern "C"
