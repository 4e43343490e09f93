#include "RsPort.h"

#include "ComPortPath.h"
#include "LineDrain.h"

namespace velterra::rs232 {

RsPort::RsPort(int32_t index, uint32_t baudRate) : baudRate_(baudRate) {
    if (index < 0 || index >= INT32_MAX) return;  // no COM number to give it
    name_ = "COM" + std::to_string(index + 1);
    const std::string path = platform::ComPortPath(index + 1);
    open_ = device_.Open(path, baudRate) == platform::SerialDevice::OpenResult::kOk;
}

void RsPort::DrainAfterFailure() {
    if (open_) platform::DrainUntilQuiet([this] { return DiscardInput(); });
}

void RsPort::Close() {
    device_.Close();
    open_ = false;
}

}  // namespace velterra::rs232
