// Model identification: read the model text over a fresh kernel-0 port and tell the camera's
// kernel type from it.
#include <cstring>

#include "ExportGuard.h"
#include "velterradll.h"

using velterra::platform::Guarded;

namespace {

constexpr size_t kTextSize = 64;  // 63 characters and the terminating zero
// MB-kernel cameras report a 14-character model text ending in 'M'.
constexpr size_t kMbModelTextLength = 14;
constexpr char kMbModelMark = 'M';

}  // namespace

extern "C" int32_t tvr_GetModelInformation(int32_t portType, int32_t portIndex, uint32_t baudRate,
                                           uint8_t commandId, uint8_t length, uint8_t* kernelType,
                                           char* text, int32_t reopen) {
    return Guarded([&] {
        // The reply must fit the text buffer with its terminating zero; refuse before any port
        // state changes.
        if (length >= kTextSize) return 0;

        tvr_ClosePort(portType, portIndex);
        if (!tvr_OpenPort2(portType, portIndex, baudRate)) return 0;
        char model[kTextSize] = {};
        if (!tvr_ReadWritePort(portType, portIndex, 0, commandId, length,
                               reinterpret_cast<uint8_t*>(model))) {
            tvr_ClosePort(portType, portIndex);
            return 0;
        }
        const size_t textLength = std::strlen(model);
        const uint8_t detected =
            (textLength == kMbModelTextLength && model[kMbModelTextLength - 1] == kMbModelMark) ? 1
                                                                                                : 0;
        if (kernelType) *kernelType = detected;
        if (text) std::memcpy(text, model, textLength + 1);
        tvr_ClosePort(portType, portIndex);
        if (reopen) return tvr_OpenPort3(portType, portIndex, baudRate, detected);
        return 1;
    });
}
