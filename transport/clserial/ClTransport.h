// The state of the Camera Link transport for the whole process: the clser library table and
// the open-port list. Unloading the transport closes every port still open and releases every
// library.
#pragma once

#include <cstdint>

#include "ClPortList.h"
#include "ClSerialLine.h"
#include "ClserTable.h"

namespace velterra::clserial {

class ClTransport {
  public:
    ClTransport() = default;
    ~ClTransport();
    ClTransport(const ClTransport&) = delete;
    ClTransport& operator=(const ClTransport&) = delete;

    ClserTable& Table() { return table_; }
    ClPortList& Ports() { return ports_; }

    // Port index i is served by table entry i/2 with serial index i%2.
    int32_t Open(int32_t index, uint32_t baudRate, uint8_t kernelType);
    int32_t Close(int32_t index);

    // The open port's node when its kernel type is `kernel` (any kernel when negative) and its
    // library is usable, else nullptr; with the node, `library` receives its library.
    ClPortList::Node* PortFor(int32_t index, int kernel, ClserLibrary** library);

  private:
    ClserTable table_;
    ClPortList ports_;
};

// The transport, its clser table loaded if clser.ini lists any library.
ClTransport& Transport();

}  // namespace velterra::clserial
