// Feeds arbitrary text to the BadPixels.txt reader in both forms: no input may crash or read
// past its end, and a block it accepts must come back unchanged through the text the camera
// read writes for it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dataops/BadPixelsFile.h"

using namespace velterra;

namespace BadPixels = velterra::BadPixels;

namespace {

void RoundTrip(std::string_view text, int even, int odd) {
    const BadPixels::Conversion parsed = BadPixels::BlockOfText(text, even, odd);
    if (!parsed.ok) {
        if (parsed.message.empty()) std::abort();
        return;
    }
    if (parsed.block.size() != BadPixels::BlockSize(even, odd)) std::abort();
    const BadPixels::Conversion written = BadPixels::TextOfBlock(parsed.block, even, odd);
    if (!written.ok) std::abort();
    const BadPixels::Conversion again = BadPixels::BlockOfText(written.text, even, odd);
    if (!again.ok || again.block != parsed.block) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RoundTrip(text, 8, 8);
    RoundTrip(text, 8, 0);
    RoundTrip(text, 2, 1);
    return 0;
}
