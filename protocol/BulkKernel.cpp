#include "BulkKernel.h"

#include "TransportTable.h"

namespace velterra::bulk {

std::optional<uint8_t> QueryKernel(int32_t portType, int32_t portIndex) {
    uint8_t kernel = 0xFF;
    if (!protocol::QueryKernel(portType, portIndex, &kernel)) return std::nullopt;
    if (kernel != kShortFrameKernel && kernel != kMbKernel) return std::nullopt;
    return kernel;
}

}  // namespace velterra::bulk
