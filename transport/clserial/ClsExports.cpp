// Camera Link serial ports are not served yet: every export reports failure (0), so port type 0
// dispatches and links but no Camera Link port opens. Loading the clser libraries listed in
// clser.ini and the exchanges over them replace this file.
#include "clport.h"

extern "C" {

int32_t CLS_OpenPort(int32_t, uint32_t, uint8_t) {
    return 0;
}
int32_t CLS_ClosePort(int32_t) {
    return 0;
}
int32_t CLS_QueryCamKernel(int32_t, uint8_t*) {
    return 0;
}
int32_t CLS_ReadWritePort(int32_t, int32_t, uint8_t, uint8_t, uint8_t*) {
    return 0;
}
int32_t CLS_CommandPort(int32_t, uint8_t, uint8_t, uint8_t*) {
    return 0;
}
int32_t CLS_ReadWritePort_MB(int32_t, int32_t, uint8_t, uint16_t, const uint8_t*, uint16_t,
                             uint16_t*, uint8_t*) {
    return 0;
}
int32_t CLS_CommandPort_MB(int32_t, uint8_t, uint16_t, const uint8_t*) {
    return 0;
}
int32_t CLS_ReadWritePortDirect(int32_t, int32_t, int32_t, uint8_t*) {
    return 0;
}

}  // extern "C"
