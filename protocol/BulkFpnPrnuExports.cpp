// FPN/PRNU correction tables: the kind byte picks the table (writes 0..1, reads 0..2).
#include "BulkBytes.h"
#include "BulkChunks.h"
#include "BulkKernel.h"
#include "BulkRawBlock.h"
#include "ExportGuard.h"
#include "velterradll.h"

using velterra::platform::Guarded;
using namespace velterra::bulk;

namespace {

constexpr uint8_t kLastWritableKind = 1;
constexpr uint8_t kLastReadableKind = 2;

}  // namespace

int32_t tvr_FpnPrnuTablesMassWrite(int32_t portType, int32_t portIndex, uint8_t commandId,
                                   uint8_t kind, int16_t count, const uint16_t* entries) {
    return Guarded([&] {
        return tvr_FpnPrnuTablesMassWrite2(portType, portIndex, commandId, 0, kind, 0, count,
                                           entries);
    });
}

int32_t tvr_FpnPrnuTablesMassWrite2(int32_t portType, int32_t portIndex, uint8_t writeCommandId,
                                    uint8_t statusCommandId, uint8_t kind, int16_t startOffset,
                                    int16_t count, const uint16_t* entries) {
    return Guarded([&] {
        if (entries == nullptr || count < 1 || startOffset < 0) return false;
        if (kind > kLastWritableKind) return false;
        const auto kernel = QueryKernel(portType, portIndex);
        if (!kernel) return false;
        if (*kernel == kShortFrameKernel) {
            return WriteRawTable(portType, portIndex, writeCommandId, kind, count, entries);
        }
        return WriteChunkedTable(portType, portIndex, writeCommandId, statusCommandId, kind,
                                 startOffset, count, entries);
    });
}

int32_t tvr_FpnPrnuTablesMassRead(int32_t portType, int32_t portIndex, uint8_t commandId,
                                  uint8_t kind, int16_t count, uint16_t* buffer) {
    return Guarded([&] {
        return tvr_FpnPrnuTablesMassRead2(portType, portIndex, commandId, 0, kind, 0, count,
                                          buffer);
    });
}

int32_t tvr_FpnPrnuTablesMassRead2(int32_t portType, int32_t portIndex, uint8_t readCommandId,
                                   uint32_t /*reserved*/, uint8_t kind, int16_t startOffset,
                                   int16_t count, uint16_t* buffer) {
    return Guarded([&] {
        if (buffer == nullptr || count < 1 || startOffset < 0) return false;
        if (kind > kLastReadableKind) return false;
        const auto kernel = QueryKernel(portType, portIndex);
        if (!kernel) return false;
        if (*kernel == kShortFrameKernel) {
            return ReadRawTable(portType, portIndex, readCommandId, kind, count, buffer);
        }
        int received = 0;
        return ReadChunkedTable(portType, portIndex, readCommandId, kind, startOffset, count,
                                buffer, received);
    });
}
