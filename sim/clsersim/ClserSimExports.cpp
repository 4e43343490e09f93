// The Camera Link serial interface of the simulator's clser library: serial index i is the
// device SimLinePath(i) names, usually the pseudo-terminal of a velterra-camsim.
#include <new>

#include "ClserApi.h"
#include "SimLinePath.h"
#include "SimSerialLine.h"

#define CLSERSIM_API __attribute__((visibility("default")))

using velterra::clsersim::SimSerialLine;

extern "C" {

CLSERSIM_API int32_t clSerialInit(uint32_t serialIndex, void** serialRef) {
    if (serialRef == nullptr) return CL_ERR_INVALID_REFERENCE;
    try {
        auto* line = new SimSerialLine;
        const int32_t result = line->Open(velterra::clsersim::SimLinePath(serialIndex));
        if (result != CL_ERR_NO_ERR) {
            delete line;
            return result;
        }
        *serialRef = line;
        return CL_ERR_NO_ERR;
    } catch (...) {
        return CL_ERR_OUT_OF_MEMORY;
    }
}

CLSERSIM_API int32_t clSetBaudRate(void* serialRef, uint32_t baudCode) {
    if (serialRef == nullptr) return CL_ERR_INVALID_REFERENCE;
    return static_cast<SimSerialLine*>(serialRef)->SetBaudCode(baudCode);
}

CLSERSIM_API int32_t clSerialRead(void* serialRef, int8_t* buffer, uint32_t* numBytes,
                                  uint32_t timeoutMs) {
    if (serialRef == nullptr || numBytes == nullptr) return CL_ERR_INVALID_REFERENCE;
    if (buffer == nullptr && *numBytes > 0) return CL_ERR_BUFFER_TOO_SMALL;
    return static_cast<SimSerialLine*>(serialRef)->Read(reinterpret_cast<uint8_t*>(buffer),
                                                        *numBytes, timeoutMs, numBytes);
}

CLSERSIM_API int32_t clSerialWrite(void* serialRef, int8_t* buffer, uint32_t* numBytes,
                                   uint32_t timeoutMs) {
    if (serialRef == nullptr || numBytes == nullptr) return CL_ERR_INVALID_REFERENCE;
    if (buffer == nullptr && *numBytes > 0) return CL_ERR_BUFFER_TOO_SMALL;
    return static_cast<SimSerialLine*>(serialRef)->Write(reinterpret_cast<uint8_t*>(buffer),
                                                         *numBytes, timeoutMs, numBytes);
}

CLSERSIM_API void clSerialClose(void* serialRef) {
    delete static_cast<SimSerialLine*>(serialRef);
}

}  // extern "C"
