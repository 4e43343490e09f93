#pragma once
#include <string>
#include <vector>

namespace velterra {

// Texts of the LUT options offered for a colour mode and tap count, in combo-box order.
// Option 0 is the all-taps option (or the only tap); option k >= 1 is tap k.
std::vector<std::string> LutOptionTexts(int colorMode, int taps);

}  // namespace velterra
