#include "BulkRawBlock.h"

#include <vector>

#include "BulkBytes.h"
#include "velterradll.h"

namespace velterra::bulk {
namespace {

constexpr uint8_t kCameraReady = 0x40;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kHostWrites = 1;
constexpr uint8_t kHostReads = 0;

// Header frame, then wait for the camera's ready byte and answer it.
bool StartRawTransfer(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t direction,
                      uint8_t tableId, int count) {
    const uint8_t header[4] = {direction, tableId, static_cast<uint8_t>(count & 0xFF),
                               static_cast<uint8_t>((count >> 8) & 0xFF)};
    if (tvr_CommandPort(portType, portIndex, commandId, sizeof header, header) == 0) return false;
    uint8_t ready = 0;
    if (tvr_ReadWritePortDirect(portType, portIndex, 0, 1, &ready) == 0) return false;
    if (ready != kCameraReady) return false;
    uint8_t ack = kAck;
    return tvr_ReadWritePortDirect(portType, portIndex, 1, 1, &ack) != 0;
}

}  // namespace

bool WriteRawTable(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t tableId,
                   int count, const uint16_t* entries) {
    std::vector<uint8_t> block(static_cast<std::size_t>(count) * 2);
    EncodeEntries(entries, static_cast<std::size_t>(count), block.data());
    if (!StartRawTransfer(portType, portIndex, commandId, kHostWrites, tableId, count)) {
        return false;
    }
    return tvr_ReadWritePortDirect(portType, portIndex, 1, static_cast<int32_t>(block.size()),
                                   block.data()) != 0;
}

bool ReadRawTable(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t tableId,
                  int count, uint16_t* entries) {
    std::vector<uint8_t> block(static_cast<std::size_t>(count) * 2);
    if (!StartRawTransfer(portType, portIndex, commandId, kHostReads, tableId, count)) {
        return false;
    }
    if (tvr_ReadWritePortDirect(portType, portIndex, 0, static_cast<int32_t>(block.size()),
                                block.data()) == 0) {
        return false;
    }
    DecodeEntries(block.data(), static_cast<std::size_t>(count), entries);
    return true;
}

}  // namespace velterra::bulk
