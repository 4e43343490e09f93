#pragma once
#include <cstdint>
#include <type_traits>

namespace velterra::platform {

// The barrier every C export of the shared libraries stands behind: nothing thrown below it
// (allocation, file reading, a caller's handler) crosses the C boundary, where it would end the
// calling program. Such a failure is the export's failure result, 0.
template <class Work>
auto Guarded(Work&& work) noexcept {
    using Result = decltype(work());
    if constexpr (std::is_void_v<Result>) {
        try {
            work();
        } catch (...) {
        }
    } else {
        try {
            return static_cast<int32_t>(work());
        } catch (...) {
            return int32_t{0};
        }
    }
}

}  // namespace velterra::platform
