#pragma once
#include <vector>

#include "lut/CurveBinding.h"
#include "lut/CurveScale.h"

namespace velterra {

// A node marker: the rectangle from (left, top) up to but not including (right, bottom).
// The selected node is painted filled black, the others as a black outline on the
// button-face colour.
struct NodeSquare {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool selected = false;

    friend bool operator==(const NodeSquare&, const NodeSquare&) = default;
};

// Everything the curve view paints, in painting order: button-face background, the dotted grid,
// the node markers, then the curve as one solid polyline. A view that is not bound to an option
// paints nothing at all (`visible` false and every list empty).
struct CurveGeometry {
    bool visible = false;
    int width = 0;
    int height = 0;
    std::vector<int> gridX;  // vertical dotted lines, each across the full height
    std::vector<int> gridY;  // horizontal dotted lines, each across the full width
    std::vector<NodeSquare> nodes;
    std::vector<ScreenPoint> polyline;  // empty for depths whose curve is not computed
};

CurveGeometry BuildCurveGeometry(const CurveBinding& binding, int selectedNode, int width,
                                 int height);

}  // namespace velterra
