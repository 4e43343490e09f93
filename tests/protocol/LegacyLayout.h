// Where a value of the legacy table files sits in the camera, derived from the file side (odd
// file positions of the first half on tap 2, the second half counted down from the end), as a
// check on the library's pixel-side mapping.
#pragma once

namespace velterra::test {

struct TapSlot {
    int tap;       // 1..4
    int position;  // 0..2039
};

inline TapSlot TapSlotOfFileIndex(int index) {
    if (index < 4080) return {index % 2 == 0 ? 1 : 2, index / 2};
    if (index % 2 == 1) return {3, (8159 - index) / 2};
    return {4, (8158 - index) / 2};
}

}  // namespace velterra::test
