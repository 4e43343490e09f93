// The process-wide list of open RS-232 ports with the camera kernel type given at open.
#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "RsPort.h"

namespace velterra::rs232 {

class OpenPortList {
  public:
    struct Node {
        int32_t index;
        std::unique_ptr<RsPort> port;
        uint8_t kernelType;
    };

    // The first node with this index, or nullptr.
    Node* Find(int32_t index);
    void Append(int32_t index, std::unique_ptr<RsPort> port, uint8_t kernelType);
    // Closes and removes the first node with this index; false when there is none.
    bool Remove(int32_t index);
    int32_t Count() const { return static_cast<int32_t>(nodes_.size()); }

  private:
    std::list<Node> nodes_;  // ports close with the list when the library unloads
};

OpenPortList& OpenPorts();

}  // namespace velterra::rs232
