// The two transport libraries behind the port types (TVR_PORT_CAMERA_LINK, TVR_PORT_RS232).
#pragma once

#include <cstdint>

namespace velterra::protocol {

struct Transport {
    int32_t (*openPort)(int32_t index, uint32_t baudRate, uint8_t kernelType);
    int32_t (*closePort)(int32_t index);
    int32_t (*queryCamKernel)(int32_t index, uint8_t* kernelType);
    int32_t (*readWritePort)(int32_t index, int32_t writeFlag, uint8_t commandId, uint8_t length,
                             uint8_t* buffer);
    int32_t (*commandPort)(int32_t index, uint8_t commandId, uint8_t length, uint8_t* data);
    int32_t (*readWritePortMb)(int32_t index, int32_t writeFlag, uint8_t commandId,
                               uint16_t writeLength, const uint8_t* writeData, uint16_t readLength,
                               uint16_t* replyLength, uint8_t* readBuffer);
    int32_t (*commandPortMb)(int32_t index, uint8_t commandId, uint16_t length,
                             const uint8_t* data);
    int32_t (*readWritePortDirect)(int32_t index, int32_t writeFlag, int32_t count,
                                   uint8_t* buffer);
};

// The transport of a port type, or nullptr for any other type.
const Transport* TransportFor(int32_t portType);

// The kernel type recorded for an open port; false for an unknown port type or a port that is
// not open.
bool QueryKernel(int32_t portType, int32_t portIndex, uint8_t* kernelType);

}  // namespace velterra::protocol
