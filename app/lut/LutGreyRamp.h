#pragma once

namespace velterra {

// Grey levels of the two ramps beside the curve view (red, green and blue all equal the level).
// Rectangles as the dialog gives them: right and bottom lie just outside.

// Under the graph: black on the left to white on the right.
inline int HorizontalRampGrey(int x, int left, int width) {
    return width > 0 ? (x - left) * 255 / width : 0;
}

// Left of the graph: white at the top to black at the bottom.
inline int VerticalRampGrey(int y, int bottom, int height) {
    return height > 0 ? (bottom - y) * 255 / height : 0;
}

}  // namespace velterra
