#pragma once
#include <array>
#include <string_view>

namespace velterra {

// The access code that opens the password level (the password menu and the parameters of access
// level 2). The Password dialog and the console tool check an entry with the same function.
inline constexpr std::array<int, 6> kAccessCodeDigits = {3, 8, 1, 9, 2, 7};

// True when the entry is exactly six characters and each character's code minus '0' equals the
// digit at its position.
bool AccessCodeMatches(std::string_view entry);

}  // namespace velterra
