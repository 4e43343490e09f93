/* Camera protocol library (libvelterradll.so): dispatch by port type (0 = Camera Link serial,
 * 1 = RS-232), short and MB frames, model identification, bulk table transfers.
 * Every export returns 0 for failure and nonzero for success; buffers belong to the caller. */
#pragma once
#include <stdint.h>

#ifndef VELTERRA_API
#define VELTERRA_API __attribute__((visibility("default")))
#endif

/* Port types, the first argument of every export that addresses a port. */
enum { TVR_PORT_CAMERA_LINK = 0, TVR_PORT_RS232 = 1 };

#ifdef __cplusplus
extern "C" {
#endif

/* Port dispatch and command exchange */
VELTERRA_API int32_t tvr_OpenPort(int32_t portType, int32_t portIndex);
VELTERRA_API int32_t tvr_OpenPort2(int32_t portType, int32_t portIndex, uint32_t baudRate);
VELTERRA_API int32_t tvr_OpenPort3(int32_t portType, int32_t portIndex, uint32_t baudRate,
                                   uint8_t kernelType);
VELTERRA_API int32_t tvr_ClosePort(int32_t portType, int32_t portIndex);
VELTERRA_API int32_t tvr_ReadWritePort(int32_t portType, int32_t portIndex, int32_t writeFlag,
                                       uint8_t commandId, uint8_t length, uint8_t* buffer);
VELTERRA_API int32_t tvr_ReadWritePort2(int32_t portType, int32_t portIndex, int32_t writeFlag,
                                        uint8_t commandId, uint16_t writeLength,
                                        const uint8_t* writeData, uint16_t readLength,
                                        uint16_t* replyLength, uint8_t* readBuffer);
VELTERRA_API int32_t tvr_CommandPort(int32_t portType, int32_t portIndex, uint8_t commandId,
                                     uint8_t length, const uint8_t* data);
VELTERRA_API int32_t tvr_CommandPort2(int32_t portType, int32_t portIndex, uint8_t commandId,
                                      uint16_t length, const uint8_t* data);
VELTERRA_API int32_t tvr_ReadWritePortDirect(int32_t portType, int32_t portIndex, int32_t writeFlag,
                                             int32_t count, uint8_t* buffer);
VELTERRA_API int32_t tvr_GetModelInformation(int32_t portType, int32_t portIndex, uint32_t baudRate,
                                             uint8_t commandId, uint8_t length, uint8_t* kernelType,
                                             char* text, int32_t reopen);

/* Bulk transfers */
VELTERRA_API int32_t tvr_LUTMassWrite(int32_t portType, int32_t portIndex, uint8_t commandId,
                                      uint8_t tableId, int16_t count, const uint16_t* entries);
VELTERRA_API int32_t tvr_LUTMassWrite2(int32_t portType, int32_t portIndex, uint8_t writeCommandId,
                                       uint8_t statusCommandId, uint8_t tableId, uint8_t mode,
                                       int16_t startOffset, int16_t count, const uint16_t* data);
VELTERRA_API int32_t tvr_LUTMassRead(int32_t portType, int32_t portIndex, uint8_t commandId,
                                     uint8_t tableId, int16_t count, uint16_t* buffer);
VELTERRA_API int32_t tvr_LUTMassRead2(int32_t portType, int32_t portIndex, uint8_t readCommandId,
                                      uint32_t reserved, uint8_t tableId, uint8_t mode,
                                      int16_t startOffset, int16_t count, uint16_t* entriesRead,
                                      uint16_t* buffer);
VELTERRA_API int32_t tvr_FpnPrnuTablesMassWrite(int32_t portType, int32_t portIndex,
                                                uint8_t commandId, uint8_t kind, int16_t count,
                                                const uint16_t* entries);
VELTERRA_API int32_t tvr_FpnPrnuTablesMassWrite2(int32_t portType, int32_t portIndex,
                                                 uint8_t writeCommandId, uint8_t statusCommandId,
                                                 uint8_t kind, int16_t startOffset, int16_t count,
                                                 const uint16_t* entries);
VELTERRA_API int32_t tvr_FpnPrnuTablesMassRead(int32_t portType, int32_t portIndex,
                                               uint8_t commandId, uint8_t kind, int16_t count,
                                               uint16_t* buffer);
VELTERRA_API int32_t tvr_FpnPrnuTablesMassRead2(int32_t portType, int32_t portIndex,
                                                uint8_t readCommandId, uint32_t reserved,
                                                uint8_t kind, int16_t startOffset, int16_t count,
                                                uint16_t* buffer);
VELTERRA_API int32_t tvr_OnePixelWriteNew(int32_t portType, int32_t portIndex, uint8_t commandId,
                                          uint8_t kind, uint16_t pixel, uint16_t value);
VELTERRA_API int32_t tvr_OnePixelRead(int32_t portType, int32_t portIndex, uint8_t commandId,
                                      uint8_t kind, uint16_t pixel, uint16_t* value);
VELTERRA_API int32_t tvr_OnePixelWriteOld4T5500(int32_t portType, int32_t portIndex, uint8_t kind,
                                                uint16_t pixel, uint16_t value);
VELTERRA_API int32_t tvr_TableReadWriteOld4T5500(int32_t portType, int32_t portIndex,
                                                 int32_t writeFlag, const char* const fileNames[2]);

/* Messages of the legacy table transfer go to this handler; without one, to standard error. */
VELTERRA_API void tvr_SetMessageHandler(void (*handler)(const char* text));
/* Progress of the legacy table transfer: called after each of its exchanges with the number
   done and the total (272: two tables of 136 half blocks); null removes the handler. */
VELTERRA_API void tvr_SetProgressHandler(void (*handler)(int32_t done, int32_t total));

#ifdef __cplusplus
}
#endif
