#include "PortSlot.h"

#include <cctype>

namespace velterra {

namespace PortSlot {

std::string Name(int slot) {
    if (!IsValid(slot)) return {};
    if (slot >= kFirstComSlot) return "COM" + std::to_string(slot - kFirstComSlot + 1);
    return "clser-" + std::to_string(slot);
}

std::optional<int> Parse(std::string_view name) {
    auto startsWith = [&name](std::string_view prefix) {
        if (name.size() <= prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(name[i])) != prefix[i]) return false;
        }
        return true;
    };
    // One digit after the prefix: "COM01" or "COM1x" name no slot.
    auto digitAfter = [&name](std::size_t prefixLength) -> std::optional<int> {
        if (name.size() != prefixLength + 1) return std::nullopt;
        char c = name[prefixLength];
        if (c < '0' || c > '9') return std::nullopt;
        return c - '0';
    };
    if (startsWith("clser-")) {
        auto n = digitAfter(6);
        if (n && *n < kFirstComSlot) return *n;
    } else if (startsWith("com")) {
        auto n = digitAfter(3);
        if (n && *n >= 1 && *n <= kCount - kFirstComSlot) return *n + kFirstComSlot - 1;
    }
    return std::nullopt;
}

}  // namespace PortSlot

}  // namespace velterra
