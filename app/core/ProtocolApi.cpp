#include "ProtocolApi.h"

#include "velterradll.h"

namespace velterra {

const ProtocolApi& RealProtocol() {
    static const ProtocolApi api{
        &tvr_OpenPort2,
        &tvr_OpenPort3,
        &tvr_ClosePort,
        &tvr_ReadWritePort,
        &tvr_ReadWritePort2,
        &tvr_CommandPort,
        &tvr_CommandPort2,
        &tvr_LUTMassWrite,
        &tvr_LUTMassWrite2,
        &tvr_LUTMassRead,
        &tvr_LUTMassRead2,
        &tvr_TableReadWriteOld4T5500,
        &tvr_OnePixelWriteOld4T5500,
        &tvr_SetProgressHandler,
        &tvr_SetMessageHandler,
    };
    return api;
}

}  // namespace velterra
