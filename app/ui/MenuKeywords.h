#pragma once
#include <optional>
#include <string_view>

namespace velterra {

// The built-in function a keyword of the menu database names (FUNC_REFRESH_ALL is 1 ...
// FUNC_BP_READ_CAM_SAVE_FILE is 10). Matched exactly, case and all; none for any other text.
std::optional<int> LookupFunctionName(std::string_view keyword);

}  // namespace velterra
