#include "BulkChunks.h"

#include <algorithm>
#include <vector>

#include "BulkBytes.h"
#include "BulkMbExchange.h"
#include "velterradll.h"

namespace velterra::bulk {
namespace {

constexpr std::size_t kParamBytes = 6;
constexpr uint8_t kTableEntriesMode = 0;

void PutChunkParams(uint8_t* out, uint8_t tableId, int offset, int chunk) {
    out[0] = tableId;
    out[1] = kTableEntriesMode;
    PutLe16(out + 2, static_cast<uint16_t>(offset));
    PutLe16(out + 4, static_cast<uint16_t>(chunk));
}

}  // namespace

bool WriteChunkedTable(int32_t portType, int32_t portIndex, uint8_t writeCommandId,
                       uint8_t statusCommandId, uint8_t tableId, int startOffset, int count,
                       const uint16_t* entries) {
    std::vector<uint8_t> payload(kParamBytes + 2 * kMaxChunkEntries);
    int sent = 0;
    int offset = startOffset;
    while (sent < count) {
        const int chunk = std::min(count - sent, kMaxChunkEntries);
        PutChunkParams(payload.data(), tableId, offset, chunk);
        EncodeEntries(entries + sent, static_cast<std::size_t>(chunk),
                      payload.data() + kParamBytes);
        const auto length = static_cast<uint16_t>(kParamBytes + 2 * chunk);
        if (tvr_CommandPort2(portType, portIndex, writeCommandId, length, payload.data()) == 0) {
            return false;
        }
        if (!ReadWriteStatus(portType, portIndex, statusCommandId)) return false;
        sent += chunk;
        offset += chunk;
    }
    return true;
}

bool ReadChunkedTable(int32_t portType, int32_t portIndex, uint8_t readCommandId, uint8_t tableId,
                      int startOffset, int count, uint16_t* entries, int& received) {
    uint8_t params[kParamBytes];
    std::vector<uint8_t> reply;
    received = 0;
    int offset = startOffset;
    while (received < count) {
        const int chunk = std::min(count - received, kMaxChunkEntries);
        PutChunkParams(params, tableId, offset, chunk);
        const auto asked = static_cast<std::size_t>(2 * chunk);
        if (!ReadMbReply(portType, portIndex, readCommandId, params, sizeof params, asked, reply)) {
            return false;
        }
        // A reply without a whole entry makes no progress; failing beats asking forever.
        const int got = static_cast<int>(reply.size() / 2);
        if (got == 0) return false;
        DecodeEntries(reply.data(), static_cast<std::size_t>(got), entries + received);
        received += got;
        offset += got;
    }
    return true;
}

}  // namespace velterra::bulk
