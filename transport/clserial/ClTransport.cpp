#include "ClTransport.h"

#include <new>

#include "BaudCode.h"

namespace velterra::clserial {

ClTransport::~ClTransport() {
    for (const ClPortList::Node& node : ports_.Nodes()) {
        if (ClserLibrary* library = table_.Usable(node.entry)) library->serialClose(node.serialRef);
    }
    ports_.Nodes().clear();
    table_.Clear();
}

int32_t ClTransport::Open(int32_t index, uint32_t baudRate, uint8_t kernelType) {
    if (index < 0 || ports_.Find(index) != nullptr) return 0;
    ClserLibrary* library = table_.Usable(static_cast<std::size_t>(index / 2));
    if (library == nullptr) return 0;

    void* serialRef = nullptr;
    if (library->serialInit(static_cast<uint32_t>(index % 2), &serialRef) != CL_ERR_NO_ERR) {
        return 0;
    }
    if (library->HasBaudRate()) {
        const uint32_t code = BaudCode(baudRate);
        // The reference is given back when the rate cannot be set, so that a later open of the
        // same port finds it free.
        if (code == 0 || library->setBaudRate(serialRef, code) != CL_ERR_NO_ERR) {
            library->serialClose(serialRef);
            return 0;
        }
    }
    try {
        ports_.Append({index, serialRef, static_cast<std::size_t>(index / 2), kernelType});
    } catch (const std::bad_alloc&) {
        library->serialClose(serialRef);
        return 0;
    }
    return 1;
}

int32_t ClTransport::Close(int32_t index) {
    ClPortList::Node* node = ports_.Find(index);
    if (node == nullptr) return 0;
    if (ClserLibrary* library = table_.Usable(node->entry)) library->serialClose(node->serialRef);
    ports_.Remove(index);
    return ports_.Count();
}

ClPortList::Node* ClTransport::PortFor(int32_t index, int kernel, ClserLibrary** library) {
    ClPortList::Node* node = ports_.Find(index);
    if (node == nullptr || (kernel >= 0 && node->kernelType != kernel)) return nullptr;
    *library = table_.Usable(node->entry);
    return *library == nullptr ? nullptr : node;
}

ClTransport& Transport() {
    static ClTransport transport;
    transport.Table().EnsureLoaded();
    return transport;
}

}  // namespace velterra::clserial
