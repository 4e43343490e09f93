// The RSC_* exports: the open-port list, the kernel-type checks and the exchanges behind them.
#include <memory>

#include "DirectChannel.h"
#include "Exchanges.h"
#include "ExportGuard.h"
#include "MbExchange.h"
#include "OpenPortList.h"
#include "PollIntervals.h"
#include "rsport.h"

using velterra::platform::Guarded;
using velterra::rs232::OpenPortList;
using velterra::rs232::OpenPorts;

namespace {

constexpr uint8_t kShortKernel = 0;
constexpr uint8_t kMbKernel = 1;

// The open port for `index` when its kernel type is `kernel` (any kernel when negative).
velterra::rs232::RsPort* PortFor(int32_t index, int kernel) {
    OpenPortList::Node* node = OpenPorts().Find(index);
    if (node == nullptr || (kernel >= 0 && node->kernelType != kernel)) return nullptr;
    return node->port.get();
}

}  // namespace

extern "C" {

int32_t RSC_OpenPort(int32_t index, uint32_t baudRate, uint8_t kernelType) {
    return Guarded([&] {
        velterra::rs232::SetLibraryBaud(baudRate);
        if (OpenPorts().Find(index) != nullptr) return 0;
        auto port = std::make_unique<velterra::rs232::RsPort>(index, baudRate);
        if (!port->IsOpen()) return 0;
        OpenPorts().Append(index, std::move(port), kernelType);
        return 1;
    });
}

int32_t RSC_ClosePort(int32_t index) {
    return Guarded([&] {
        if (!OpenPorts().Remove(index)) return 0;
        return OpenPorts().Count();
    });
}

int32_t RSC_QueryCamKernel(int32_t index, uint8_t* kernelType) {
    return Guarded([&] {
        OpenPortList::Node* node = OpenPorts().Find(index);
        if (node == nullptr || kernelType == nullptr) return 0;
        *kernelType = node->kernelType;
        return 1;
    });
}

int32_t RSC_ReadWritePort(int32_t index, int32_t writeFlag, uint8_t commandId, uint8_t length,
                          uint8_t* buffer) {
    return Guarded([&] {
        velterra::rs232::RsPort* port = PortFor(index, kShortKernel);
        if (port == nullptr) return 0;
        return velterra::rs232::ShortFrameExchange(*port, writeFlag != 0, commandId, length,
                                                   buffer);
    });
}

int32_t RSC_CommandPort(int32_t index, uint8_t commandId, uint8_t length, uint8_t* data) {
    return Guarded([&] { return RSC_ReadWritePort(index, 1, commandId, length, data); });
}

int32_t RSC_ReadWritePort_MB(int32_t index, int32_t writeFlag, uint8_t commandId,
                             uint16_t writeLength, const uint8_t* writeData, uint16_t readLength,
                             uint16_t* replyLength, uint8_t* readBuffer) {
    return Guarded([&] {
        velterra::rs232::RsPort* port = PortFor(index, kMbKernel);
        if (port == nullptr) return 0;
        velterra::rs232::DirectChannel channel(*port);
        return velterra::codec::ExchangeMb(channel, writeFlag != 0, commandId, writeLength,
                                           writeData, readLength, replyLength, readBuffer);
    });
}

int32_t RSC_CommandPort_MB(int32_t index, uint8_t commandId, uint16_t length, const uint8_t* data) {
    return Guarded([&] {
        return RSC_ReadWritePort_MB(index, 1, commandId, length, data, 0, nullptr, nullptr);
    });
}

int32_t RSC_ReadWritePortDirect(int32_t index, int32_t writeFlag, int32_t count, uint8_t* buffer) {
    return Guarded([&] {
        velterra::rs232::RsPort* port = PortFor(index, -1);
        if (port == nullptr) return 0;
        return velterra::rs232::DirectTransfer(*port, writeFlag != 0, count, buffer);
    });
}

}  // extern "C"
