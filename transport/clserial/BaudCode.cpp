#include "BaudCode.h"

#include "ClserApi.h"

namespace velterra::clserial {

uint32_t BaudCode(uint32_t baudRate) {
    switch (baudRate) {
        case 9600:
            return CL_BAUDRATE_9600;
        case 19200:
            return CL_BAUDRATE_19200;
        case 38400:
            return CL_BAUDRATE_38400;
        case 57600:
            return CL_BAUDRATE_57600;
        case 115200:
            return CL_BAUDRATE_115200;
        case 230400:
            return CL_BAUDRATE_230400;
        case 460800:
            return CL_BAUDRATE_460800;
        case 921600:
            return CL_BAUDRATE_921600;
        default:
            return 0;
    }
}

}  // namespace velterra::clserial
