// The CLS_* exports: each makes sure the clser table is loaded, then works on the open-port list
// and the exchanges over the port's clser library.
#include "ClTransport.h"
#include "ExportGuard.h"
#include "MbExchange.h"
#include "ShortFrameExchange.h"
#include "clport.h"

using velterra::clserial::ClPortList;
using velterra::clserial::ClSerialLine;
using velterra::clserial::ClserLibrary;
using velterra::clserial::Transport;
using velterra::platform::Guarded;

namespace {

constexpr int kShortKernel = 0;
constexpr int kMbKernel = 1;
constexpr int kAnyKernel = -1;

}  // namespace

extern "C" {

int32_t CLS_OpenPort(int32_t index, uint32_t baudRate, uint8_t kernelType) {
    return Guarded([&] { return Transport().Open(index, baudRate, kernelType); });
}

int32_t CLS_ClosePort(int32_t index) {
    return Guarded([&] { return Transport().Close(index); });
}

int32_t CLS_QueryCamKernel(int32_t index, uint8_t* kernelType) {
    return Guarded([&] {
        ClPortList::Node* node = Transport().Ports().Find(index);
        if (node == nullptr || kernelType == nullptr) return 0;
        *kernelType = node->kernelType;
        return 1;
    });
}

int32_t CLS_ReadWritePort(int32_t index, int32_t writeFlag, uint8_t commandId, uint8_t length,
                          uint8_t* buffer) {
    return Guarded([&] {
        ClserLibrary* library = nullptr;
        ClPortList::Node* node = Transport().PortFor(index, kShortKernel, &library);
        if (node == nullptr) return 0;
        ClSerialLine line(*library, node->serialRef);
        return velterra::clserial::ShortFrameExchange(line, writeFlag != 0, commandId, length,
                                                      buffer);
    });
}

int32_t CLS_CommandPort(int32_t index, uint8_t commandId, uint8_t length, uint8_t* data) {
    return CLS_ReadWritePort(index, 1, commandId, length, data);
}

int32_t CLS_ReadWritePort_MB(int32_t index, int32_t writeFlag, uint8_t commandId,
                             uint16_t writeLength, const uint8_t* writeData, uint16_t readLength,
                             uint16_t* replyLength, uint8_t* readBuffer) {
    return Guarded([&] {
        ClserLibrary* library = nullptr;
        ClPortList::Node* node = Transport().PortFor(index, kMbKernel, &library);
        if (node == nullptr) return 0;
        ClSerialLine line(*library, node->serialRef);
        return velterra::codec::ExchangeMb(line, writeFlag != 0, commandId, writeLength, writeData,
                                           readLength, replyLength, readBuffer);
    });
}

int32_t CLS_CommandPort_MB(int32_t index, uint8_t commandId, uint16_t length, const uint8_t* data) {
    return CLS_ReadWritePort_MB(index, 1, commandId, length, data, 0, nullptr, nullptr);
}

int32_t CLS_ReadWritePortDirect(int32_t index, int32_t writeFlag, int32_t count, uint8_t* buffer) {
    return Guarded([&] {
        ClserLibrary* library = nullptr;
        ClPortList::Node* node = Transport().PortFor(index, kAnyKernel, &library);
        if (node == nullptr) return 0;
        ClSerialLine line(*library, node->serialRef);
        return line.Transfer(writeFlag != 0, count, buffer) ? 1 : 0;
    });
}

}  // extern "C"
