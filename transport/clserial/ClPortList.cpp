#include "ClPortList.h"

#include <algorithm>

namespace velterra::clserial {

ClPortList::Node* ClPortList::Find(int32_t index) {
    auto it = std::find_if(nodes_.begin(), nodes_.end(),
                           [index](const Node& node) { return node.index == index; });
    return it == nodes_.end() ? nullptr : &*it;
}

void ClPortList::Append(const Node& node) {
    nodes_.push_back(node);
}

bool ClPortList::Remove(int32_t index) {
    auto it = std::find_if(nodes_.begin(), nodes_.end(),
                           [index](const Node& node) { return node.index == index; });
    if (it == nodes_.end()) return false;
    nodes_.erase(it);
    return true;
}

}  // namespace velterra::clserial
