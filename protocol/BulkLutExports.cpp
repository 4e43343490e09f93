// LUT transfers: every-scale tables (mode 0) and vector data (mode 1).
#include "BulkBytes.h"
#include "BulkChunks.h"
#include "BulkKernel.h"
#include "BulkRawBlock.h"
#include "BulkVectorData.h"
#include "ExportGuard.h"
#include "velterradll.h"

using velterra::platform::Guarded;
using namespace velterra::bulk;

namespace {

constexpr uint8_t kTableMode = 0;
constexpr uint8_t kVectorMode = 1;

}  // namespace

int32_t tvr_LUTMassWrite(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t tableId,
                         int16_t count, const uint16_t* entries) {
    return Guarded([&] {
        return tvr_LUTMassWrite2(portType, portIndex, commandId, 0, tableId, kTableMode, 0, count,
                                 entries);
    });
}

int32_t tvr_LUTMassWrite2(int32_t portType, int32_t portIndex, uint8_t writeCommandId,
                          uint8_t statusCommandId, uint8_t tableId, uint8_t mode,
                          int16_t startOffset, int16_t count, const uint16_t* data) {
    return Guarded([&] {
        if (data == nullptr || count < 1 || startOffset < 0) return false;
        if (mode != kTableMode && mode != kVectorMode) return false;
        if (mode == kVectorMode && count > kMaxVectorRecords) return false;
        const auto kernel = QueryKernel(portType, portIndex);
        if (!kernel) return false;
        if (*kernel == kShortFrameKernel) {
            // Short-frame cameras know no vector data.
            if (mode != kTableMode) return false;
            return WriteRawTable(portType, portIndex, writeCommandId, tableId, count, data);
        }
        if (mode == kVectorMode) {
            return WriteVectorData(portType, portIndex, writeCommandId, statusCommandId, tableId,
                                   count, reinterpret_cast<const uint8_t*>(data));
        }
        return WriteChunkedTable(portType, portIndex, writeCommandId, statusCommandId, tableId,
                                 startOffset, count, data);
    });
}

int32_t tvr_LUTMassRead(int32_t portType, int32_t portIndex, uint8_t commandId, uint8_t tableId,
                        int16_t count, uint16_t* buffer) {
    return Guarded([&] {
        return tvr_LUTMassRead2(portType, portIndex, commandId, 0, tableId, kTableMode, 0, count,
                                nullptr, buffer);
    });
}

int32_t tvr_LUTMassRead2(int32_t portType, int32_t portIndex, uint8_t readCommandId,
                         uint32_t /*reserved*/, uint8_t tableId, uint8_t mode, int16_t startOffset,
                         int16_t count, uint16_t* entriesRead, uint16_t* buffer) {
    return Guarded([&] {
        if (buffer == nullptr || startOffset < 0) return false;
        const auto kernel = QueryKernel(portType, portIndex);
        if (!kernel) return false;
        if (*kernel == kShortFrameKernel) {
            // A short-frame camera answers every read with its table, whatever the mode.
            if (count < 1) return false;
            if (!ReadRawTable(portType, portIndex, readCommandId, tableId, count, buffer)) {
                return false;
            }
            if (entriesRead != nullptr) *entriesRead = static_cast<uint16_t>(count);
            return true;
        }
        if (mode == kVectorMode) {
            // The camera tells how many records it has, so the count asked for plays no part
            // (callers pass 0 here); the buffer must hold ten records.
            uint16_t records = 0;
            if (!ReadVectorData(portType, portIndex, readCommandId, tableId,
                                reinterpret_cast<uint8_t*>(buffer), records)) {
                return false;
            }
            if (entriesRead != nullptr) *entriesRead = records;
            return true;
        }
        if (mode != kTableMode || count < 1) return false;
        int received = 0;
        if (!ReadChunkedTable(portType, portIndex, readCommandId, tableId, startOffset, count,
                              buffer, received)) {
            return false;
        }
        if (entriesRead != nullptr) *entriesRead = static_cast<uint16_t>(received);
        return true;
    });
}
