#include "AccessCode.h"

namespace velterra {

bool AccessCodeMatches(std::string_view entry) {
    if (entry.size() != kAccessCodeDigits.size()) return false;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        if (static_cast<unsigned char>(entry[i]) - '0' != kAccessCodeDigits[i]) return false;
    }
    return true;
}

}  // namespace velterra
