// The published Camera Link serial interface that every frame-grabber maker's clser library
// exports. This transport reaches those libraries through dlopen/dlsym only; the declarations
// here give the entry-point types and result codes, and let the libraries built in this tree
// (the simulator's and the tests') check their definitions against the same signatures.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* 0 is success; any other result is a failure. */
#define CL_ERR_NO_ERR 0
#define CL_ERR_BUFFER_TOO_SMALL (-10001)
#define CL_ERR_MANU_DOES_NOT_EXIST (-10002)
#define CL_ERR_PORT_IN_USE (-10003)
#define CL_ERR_TIMEOUT (-10004)
#define CL_ERR_INVALID_INDEX (-10005)
#define CL_ERR_INVALID_REFERENCE (-10006)
#define CL_ERR_ERROR_NOT_FOUND (-10007)
#define CL_ERR_BAUD_RATE_NOT_SUPPORTED (-10008)
#define CL_ERR_OUT_OF_MEMORY (-10009)

/* Baud-rate bits taken by clSetBaudRate. */
#define CL_BAUDRATE_9600 1u
#define CL_BAUDRATE_19200 2u
#define CL_BAUDRATE_38400 4u
#define CL_BAUDRATE_57600 8u
#define CL_BAUDRATE_115200 16u
#define CL_BAUDRATE_230400 32u
#define CL_BAUDRATE_460800 64u
#define CL_BAUDRATE_921600 128u

typedef int32_t (*ClSerialInitFn)(uint32_t serialIndex, void** serialRef);
typedef int32_t (*ClSerialReadFn)(void* serialRef, int8_t* buffer, uint32_t* numBytes,
                                  uint32_t timeoutMs);
typedef int32_t (*ClSerialWriteFn)(void* serialRef, int8_t* buffer, uint32_t* numBytes,
                                   uint32_t timeoutMs);
typedef void (*ClSerialCloseFn)(void* serialRef);
typedef int32_t (*ClSetBaudRateFn)(void* serialRef, uint32_t baudCode);

#ifdef __cplusplus
}
#endif
