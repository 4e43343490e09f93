/* RS-232 camera transport (librsport.so): COM ports, short and MB frame exchanges.
 * Every export returns 0 for failure and nonzero for success. */
#pragma once
#include <stdint.h>

#ifndef VELTERRA_API
#define VELTERRA_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

VELTERRA_API int32_t RSC_OpenPort(int32_t index, uint32_t baudRate, uint8_t kernelType);
VELTERRA_API int32_t RSC_ClosePort(int32_t index);
VELTERRA_API int32_t RSC_QueryCamKernel(int32_t index, uint8_t* kernelType);
VELTERRA_API int32_t RSC_ReadWritePort(int32_t index, int32_t writeFlag, uint8_t commandId,
                                       uint8_t length, uint8_t* buffer);
VELTERRA_API int32_t RSC_CommandPort(int32_t index, uint8_t commandId, uint8_t length,
                                     uint8_t* data);
VELTERRA_API int32_t RSC_ReadWritePort_MB(int32_t index, int32_t writeFlag, uint8_t commandId,
                                          uint16_t writeLength, const uint8_t* writeData,
                                          uint16_t readLength, uint16_t* replyLength,
                                          uint8_t* readBuffer);
VELTERRA_API int32_t RSC_CommandPort_MB(int32_t index, uint8_t commandId, uint16_t length,
                                        const uint8_t* data);
VELTERRA_API int32_t RSC_ReadWritePortDirect(int32_t index, int32_t writeFlag, int32_t count,
                                             uint8_t* buffer);

#ifdef __cplusplus
}
#endif
