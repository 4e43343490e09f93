#include "BulkMbExchange.h"

#include "velterradll.h"

namespace velterra::bulk {
namespace {

// The MB length field has 15 bits.
constexpr uint16_t kLargestMbReply = 0x7FFF;

}  // namespace

bool ReadMbReply(int32_t portType, int32_t portIndex, uint8_t commandId, const uint8_t* params,
                 uint16_t paramLength, std::size_t limit, std::vector<uint8_t>& reply) {
    std::vector<uint8_t> received(kLargestMbReply);
    uint16_t replyLength = 0;
    if (tvr_ReadWritePort2(portType, portIndex, 0, commandId, paramLength, params, kLargestMbReply,
                           &replyLength, received.data()) == 0) {
        return false;
    }
    if (replyLength > limit || replyLength > received.size()) return false;
    reply.assign(received.begin(), received.begin() + replyLength);
    return true;
}

bool ReadWriteStatus(int32_t portType, int32_t portIndex, uint8_t statusCommandId) {
    std::vector<uint8_t> status;
    if (!ReadMbReply(portType, portIndex, statusCommandId, nullptr, 0, 1, status)) return false;
    return status.size() == 1 && status[0] == 0;
}

}  // namespace velterra::bulk
