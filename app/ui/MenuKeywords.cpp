#include "MenuKeywords.h"

#include "MenuTexts.h"

namespace velterra {

std::optional<int> LookupFunctionName(std::string_view keyword) {
    int code = 1;
    for (const char* known : MenuText::kFunctionKeywords) {
        if (keyword == known) return code;
        ++code;
    }
    return std::nullopt;
}

}  // namespace velterra
