#include "TransportTable.h"

#include "clport.h"
#include "rsport.h"
#include "velterradll.h"

namespace velterra::protocol {

namespace {

constexpr Transport kCameraLink{CLS_OpenPort,       CLS_ClosePort,          CLS_QueryCamKernel,
                                CLS_ReadWritePort,  CLS_CommandPort,        CLS_ReadWritePort_MB,
                                CLS_CommandPort_MB, CLS_ReadWritePortDirect};
constexpr Transport kRs232{RSC_OpenPort,       RSC_ClosePort,          RSC_QueryCamKernel,
                           RSC_ReadWritePort,  RSC_CommandPort,        RSC_ReadWritePort_MB,
                           RSC_CommandPort_MB, RSC_ReadWritePortDirect};

}  // namespace

const Transport* TransportFor(int32_t portType) {
    switch (portType) {
        case TVR_PORT_CAMERA_LINK:
            return &kCameraLink;
        case TVR_PORT_RS232:
            return &kRs232;
        default:
            return nullptr;
    }
}

bool QueryKernel(int32_t portType, int32_t portIndex, uint8_t* kernelType) {
    const Transport* transport = TransportFor(portType);
    return transport != nullptr && transport->queryCamKernel(portIndex, kernelType) != 0;
}

}  // namespace velterra::protocol
