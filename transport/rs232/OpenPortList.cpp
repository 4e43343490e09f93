#include "OpenPortList.h"

#include <algorithm>

namespace velterra::rs232 {

OpenPortList::Node* OpenPortList::Find(int32_t index) {
    auto it = std::find_if(nodes_.begin(), nodes_.end(),
                           [index](const Node& node) { return node.index == index; });
    return it == nodes_.end() ? nullptr : &*it;
}

void OpenPortList::Append(int32_t index, std::unique_ptr<RsPort> port, uint8_t kernelType) {
    nodes_.push_back(Node{index, std::move(port), kernelType});
}

bool OpenPortList::Remove(int32_t index) {
    auto it = std::find_if(nodes_.begin(), nodes_.end(),
                           [index](const Node& node) { return node.index == index; });
    if (it == nodes_.end()) return false;
    nodes_.erase(it);
    return true;
}

OpenPortList& OpenPorts() {
    static OpenPortList list;
    return list;
}

}  // namespace velterra::rs232
