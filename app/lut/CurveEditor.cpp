#include "lut/CurveEditor.h"

#include <algorithm>

namespace velterra {

void CCurveEditor::Bind(const CurveBinding& binding) {
    m_binding = binding;
    m_selected = -1;
    m_dragging = false;
    m_reinsert = false;
    RecalcCurve();
    Redraw();
}

void CCurveEditor::Unbind() {
    m_binding = {};
    m_selected = -1;
    m_dragging = false;
    m_reinsert = false;
    Redraw();
}

void CCurveEditor::SetViewSize(int width, int height) {
    m_width = width;
    m_height = height;
    Redraw();
}

CurveScale CCurveEditor::Scale() const {
    return {m_width, m_height, Entries()};
}

int CCurveEditor::NodeCount() const {
    return IsBound() ? std::clamp(*m_binding.nodeCount, 0, kLutMaxNodes) : 0;
}

int CCurveEditor::Entries() const {
    return IsBound() ? LutEntryCount(*m_binding.bits) : 0;
}

void CCurveEditor::Changed() {
    *m_binding.changed = 1;
    RecalcCurve();
    if (m_host != nullptr) m_host->PropagateAllTaps();
}

void CCurveEditor::Redraw() {
    if (m_redraw) m_redraw();
}

void CCurveEditor::RecalcCurve() {
    if (!IsBound() || !IsSupportedLutDepth(*m_binding.bits)) return;
    const int count = NodeCount();
    if (count < 1) return;
    const LutNode* nodes = m_binding.nodes;
    const LutNode& first = nodes[0];
    const LutNode& last = nodes[count - 1];
    const int n = Entries();
    int a = 0;
    for (int i = 0; i < n; ++i) {
        int64_t value;
        if (i <= first.x) {
            value = first.y;
        } else if (i >= last.x) {
            value = last.y;
        } else {
            // Between the first and last X some neighbouring pair always brackets i.
            for (a = 0; a + 2 < count; ++a) {
                if (nodes[a].x <= i && i < nodes[a + 1].x) break;
            }
            const LutNode& l = nodes[a];
            const LutNode& r = nodes[a + 1];
            value = l.y + LutRound(double(int64_t{i} - l.x) * double(int64_t{r.y} - l.y) /
                                   double(int64_t{r.x} - l.x));
        }
        value = std::clamp<int64_t>(value, 0, n - 1);
        m_binding.curve[i] = static_cast<uint16_t>(value);
    }
}

void CCurveEditor::SetNode(int index, int32_t x, int32_t y) {
    const int count = NodeCount();
    if (index < 0 || index >= count) return;
    LutNode* nodes = m_binding.nodes;
    if (m_reinsert) {
        // The node comes back only once the mouse is between its former neighbours again.
        if (index < 1 || !(nodes[index - 1].x < x && x < nodes[index].x)) return;
        InsertNode(x, y);
        m_reinsert = false;
    } else {
        nodes[index] = {x, y};
    }
    m_selected = index;

    const int last = NodeCount() - 1;
    if (index > 0 && nodes[index].x <= nodes[index - 1].x) {
        if (index == last) {
            nodes[index].x = nodes[index - 1].x + 1;
        } else {
            DeleteNode(index);
            m_reinsert = true;
        }
    } else if (index < last && nodes[index].x >= nodes[index + 1].x) {
        if (index == 0) {
            nodes[0].x = nodes[1].x - 1;
        } else {
            DeleteNode(index);
            m_reinsert = true;
        }
    }
    Changed();
}

void CCurveEditor::InsertNode(int32_t x, int32_t y) {
    if (!IsBound()) return;
    const int count = NodeCount();
    if (count >= kLutMaxNodes) return;
    LutNode* nodes = m_binding.nodes;
    for (int k = 1; k < count; ++k) {
        if (nodes[k - 1].x < x && x < nodes[k].x) {
            std::copy_backward(nodes + k, nodes + count, nodes + count + 1);
            nodes[k] = {x, y};
            m_selected = k;
            *m_binding.nodeCount = count + 1;
            break;
        }
    }
    Changed();
}

void CCurveEditor::DeleteNode(int index) {
    const int count = NodeCount();
    if (index < 0 || index >= count) return;
    LutNode* nodes = m_binding.nodes;
    std::copy(nodes + index + 1, nodes + count, nodes + index);
    *m_binding.nodeCount = count - 1;
    // A selection past the end would point at a stale slot.
    if (m_selected >= count - 1) m_selected = -1;
}

void CCurveEditor::SetNodeFromFields(int32_t x, int32_t y) {
    const int count = NodeCount();
    const int i = m_selected;
    if (i < 0 || i >= count) return;
    const int n = Entries();
    if (x < 0 || x >= n || y < 0 || y >= n) return;
    LutNode* nodes = m_binding.nodes;
    if (i > 0 && x <= nodes[i - 1].x) return;
    if (i < count - 1 && x >= nodes[i + 1].x) return;
    nodes[i] = {x, y};
    Changed();
    Redraw();
}

LutNode CCurveEditor::MouseToLut(int px, int py) const {
    const CurveScale scale = Scale();
    if (!scale.IsUsable()) return {};
    const int64_t top = scale.entries - 1;
    return {static_cast<int32_t>(std::clamp<int64_t>(scale.ToLutX(px), 0, top)),
            static_cast<int32_t>(std::clamp<int64_t>(scale.ToLutY(py), 0, top))};
}

void CCurveEditor::OnLeftButtonDown(int px, int py) {
    const CurveScale scale = Scale();
    const int count = NodeCount();
    if (!scale.IsUsable() || count < 1) return;
    m_dragging = false;
    m_reinsert = false;
    const LutNode m = MouseToLut(px, py);
    const ScreenPoint mouse{px, py};
    const LutNode* nodes = m_binding.nodes;

    int taken = -1;
    if (m.x <= nodes[0].x) {
        taken = 0;
    } else if (m.x >= nodes[count - 1].x) {
        taken = count - 1;
    } else {
        for (int i = 0; i < count && taken < 0; ++i) {
            if (IsNear(scale.ToScreen(nodes[i].x, nodes[i].y), mouse)) taken = i;
        }
    }

    if (taken >= 0) {
        m_dragging = true;
        SetNode(taken, m.x, m.y);
    } else if (IsSupportedLutDepth(*m_binding.bits)) {
        for (int i = 0; i < scale.entries; ++i) {
            if (!IsNear(scale.ToScreen(i, m_binding.curve[i]), mouse)) continue;
            InsertNode(m.x, m.y);
            if (NodeCount() > count) {
                m_dragging = true;
                taken = m_selected;
            }
            break;
        }
    }

    if (taken < 0) {
        m_selected = -1;
    } else if (m_host != nullptr) {
        m_host->ShowCoordinates(m.x, m.y);
    }
    Redraw();
}

void CCurveEditor::OnMouseMove(int px, int py, bool leftButtonDown) {
    if (!IsBound() || !Scale().IsUsable()) return;
    const LutNode m = MouseToLut(px, py);
    if (leftButtonDown && m_dragging) {
        SetNode(m_selected, m.x, m.y);
        if (m_host != nullptr) m_host->ShowCoordinates(m.x, m.y);
        Redraw();
    } else if (!m_dragging && m_selected == -1 && m_host != nullptr) {
        m_host->ShowCoordinates(m.x, m.y);
    }
}

void CCurveEditor::OnLeftButtonUp(int /*px*/, int /*py*/) {
    if (!IsBound()) return;
    m_dragging = false;
    const int count = NodeCount();
    const int i = m_selected;
    if (i >= 0 && i < count) {
        const LutNode* nodes = m_binding.nodes;
        if ((i > 0 && nodes[i] == nodes[i - 1]) || (i < count - 1 && nodes[i] == nodes[i + 1])) {
            DeleteNode(i);
            Redraw();
        }
    }
    m_reinsert = false;
}

CurveGeometry CCurveEditor::Geometry() const {
    return BuildCurveGeometry(m_binding, m_selected, m_width, m_height);
}

}  // namespace velterra
