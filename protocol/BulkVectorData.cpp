#include "BulkVectorData.h"

#include <cstring>
#include <vector>

#include "BulkBytes.h"
#include "BulkMbExchange.h"
#include "velterradll.h"

namespace velterra::bulk {
namespace {

constexpr uint8_t kVectorMode = 1;
constexpr std::size_t kCountBytes = 2;
// The reply a read asks room for: the record count and ten records.
constexpr std::size_t kVectorReplyBytes = kCountBytes + kMaxVectorRecords * kVectorRecordBytes;

}  // namespace

bool WriteVectorData(int32_t portType, int32_t portIndex, uint8_t writeCommandId,
                     uint8_t statusCommandId, uint8_t tableId, int count, const uint8_t* records) {
    const std::size_t dataBytes = static_cast<std::size_t>(count) * kVectorRecordBytes;
    std::vector<uint8_t> payload(4 + dataBytes);
    payload[0] = tableId;
    payload[1] = kVectorMode;
    PutLe16(payload.data() + 2, static_cast<uint16_t>(count));
    std::memcpy(payload.data() + 4, records, dataBytes);
    if (tvr_CommandPort2(portType, portIndex, writeCommandId, static_cast<uint16_t>(payload.size()),
                         payload.data()) == 0) {
        return false;
    }
    return ReadWriteStatus(portType, portIndex, statusCommandId);
}

bool ReadVectorData(int32_t portType, int32_t portIndex, uint8_t readCommandId, uint8_t tableId,
                    uint8_t* records, uint16_t& count) {
    const uint8_t params[2] = {tableId, kVectorMode};
    std::vector<uint8_t> reply;
    if (!ReadMbReply(portType, portIndex, readCommandId, params, sizeof params, kVectorReplyBytes,
                     reply)) {
        return false;
    }
    if (reply.size() < kCountBytes) return false;
    const uint16_t n = GetLe16(reply.data());
    if (n > kMaxVectorRecords) return false;
    const std::size_t dataBytes = static_cast<std::size_t>(n) * kVectorRecordBytes;
    // A reply that announces more records than it carries would hand back stale bytes.
    if (reply.size() < kCountBytes + dataBytes) return false;
    std::memcpy(records, reply.data() + kCountBytes, dataBytes);
    count = n;
    return true;
}

}  // namespace velterra::bulk
