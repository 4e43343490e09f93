#pragma once
#include <cstdint>
#include <functional>

namespace velterra {

// The protocol library as the program calls it: one entry per tvr_* export the program uses,
// same arguments and results (0 failure, nonzero success). The document and the dialogs call
// through this table, so tests can put a scripted camera in place of the library.
struct ProtocolApi {
    std::function<int32_t(int32_t portType, int32_t portIndex, uint32_t baudRate)> OpenPort2;
    std::function<int32_t(int32_t portType, int32_t portIndex, uint32_t baudRate,
                          uint8_t kernelType)>
        OpenPort3;
    std::function<int32_t(int32_t portType, int32_t portIndex)> ClosePort;
    std::function<int32_t(int32_t portType, int32_t portIndex, int32_t writeFlag, uint8_t commandId,
                          uint8_t length, uint8_t* buffer)>
        ReadWritePort;
    std::function<int32_t(int32_t portType, int32_t portIndex, int32_t writeFlag, uint8_t commandId,
                          uint16_t writeLength, const uint8_t* writeData, uint16_t readLength,
                          uint16_t* replyLength, uint8_t* readBuffer)>
        ReadWritePort2;
    std::function<int32_t(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t length,
                          const uint8_t* data)>
        CommandPort;
    std::function<int32_t(int32_t portType, int32_t portIndex, uint8_t commandId, uint16_t length,
                          const uint8_t* data)>
        CommandPort2;
    std::function<int32_t(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t tableId,
                          int16_t count, const uint16_t* entries)>
        LUTMassWrite;
    std::function<int32_t(int32_t portType, int32_t portIndex, uint8_t writeCommandId,
                          uint8_t statusCommandId, uint8_t tableId, uint8_t mode,
                          int16_t startOffset, int16_t count, const uint16_t* data)>
        LUTMassWrite2;
    std::function<int32_t(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t tableId,
                          int16_t count, uint16_t* buffer)>
        LUTMassRead;
    std::function<int32_t(int32_t portType, int32_t portIndex, uint8_t readCommandId,
                          uint32_t reserved, uint8_t tableId, uint8_t mode, int16_t startOffset,
                          int16_t count, uint16_t* entriesRead, uint16_t* buffer)>
        LUTMassRead2;
    std::function<int32_t(int32_t portType, int32_t portIndex, int32_t writeFlag,
                          const char* const fileNames[2])>
        TableReadWriteOld4T5500;
    std::function<int32_t(int32_t portType, int32_t portIndex, uint8_t kind, uint16_t pixel,
                          uint16_t value)>
        OnePixelWriteOld4T5500;
    // Progress of the legacy table transfer (exchanges done, total); may be left empty.
    std::function<void(void (*handler)(int32_t done, int32_t total))> SetProgressHandler;
    // Messages the legacy table transfer shows the user; may be left empty.
    std::function<void(void (*handler)(const char* text))> SetMessageHandler;
};

// The table filled with the exports of libvelterradll.so.
const ProtocolApi& RealProtocol();

}  // namespace velterra
