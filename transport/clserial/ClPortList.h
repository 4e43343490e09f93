// The process-wide list of open Camera Link ports: the serial reference each got from its clser
// library, the library's table entry and the camera kernel type given at open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>

namespace velterra::clserial {

class ClPortList {
  public:
    struct Node {
        int32_t index;
        void* serialRef;
        std::size_t entry;
        uint8_t kernelType;
    };

    // The first node with this index, or nullptr.
    Node* Find(int32_t index);
    void Append(const Node& node);
    // Removes the first node with this index; false when there is none.
    bool Remove(int32_t index);
    int32_t Count() const { return static_cast<int32_t>(nodes_.size()); }
    std::list<Node>& Nodes() { return nodes_; }

  private:
    std::list<Node> nodes_;
};

}  // namespace velterra::clserial
