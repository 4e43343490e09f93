#include "BulkKernel.h"

#include "clport.h"
#include "rsport.h"

namespace velterra::bulk {

std::optional<uint8_t> QueryKernel(int32_t portType, int32_t portIndex) {
    uint8_t kernel = 0xFF;
    int32_t ok = 0;
    if (portType == 0) {
        ok = CLS_QueryCamKernel(portIndex, &kernel);
    } else if (portType == 1) {
        ok = RSC_QueryCamKernel(portIndex, &kernel);
    }
    if (ok == 0 || (kernel != kShortFrameKernel && kernel != kMbKernel)) return std::nullopt;
    return kernel;
}

}  // namespace velterra::bulk
