#include "lut/CurveGeometry.h"

#include <algorithm>

namespace velterra {

CurveGeometry BuildCurveGeometry(const CurveBinding& binding, int selectedNode, int width,
                                 int height) {
    CurveGeometry g;
    if (!binding.IsComplete() || width <= 0 || height <= 0) return g;
    const int16_t bits = *binding.bits;
    const CurveScale scale{width, height, LutEntryCount(bits)};
    if (!scale.IsUsable()) return g;

    g.visible = true;
    g.width = width;
    g.height = height;
    for (int k = 1; k <= 9; ++k) {
        g.gridY.push_back(height * k / 10);
        g.gridX.push_back(width * k / 10);
    }

    const int count = std::clamp(*binding.nodeCount, 0, kLutMaxNodes);
    for (int i = 0; i < count; ++i) {
        const ScreenPoint p = scale.ToScreen(binding.nodes[i].x, binding.nodes[i].y);
        g.nodes.push_back({p.x - 2, p.y - 2, p.x + 3, p.y + 3, i == selectedNode});
    }

    if (IsSupportedLutDepth(bits)) {
        g.polyline.reserve(scale.entries);
        for (int i = 0; i < scale.entries; ++i)
            g.polyline.push_back(scale.ToScreen(i, binding.curve[i]));
    }
    return g;
}

}  // namespace velterra
