#pragma once
#include <cstdint>
#include <functional>

#include "lut/CurveBinding.h"
#include "lut/CurveEditorHost.h"
#include "lut/CurveGeometry.h"
#include "lut/CurveScale.h"

namespace velterra {

// The curve view without its widget: edits the nodes of one bound LUT option by mouse actions
// and typed values, rebuilds the curve from the nodes, and computes what the view paints. The
// widget forwards its size, mouse events and field values here and paints Geometry().
class CCurveEditor {
  public:
    explicit CCurveEditor(ICurveEditorHost* host = nullptr) : m_host(host) {}

    void SetHost(ICurveEditorHost* host) { m_host = host; }
    // Called whenever the view must be painted again.
    void SetRedrawHandler(std::function<void()> handler) { m_redraw = std::move(handler); }

    // Points the editor at one option, clears the selection and rebuilds the curve.
    void Bind(const CurveBinding& binding);
    void Unbind();
    bool IsBound() const { return m_binding.IsComplete(); }
    const CurveBinding& Binding() const { return m_binding; }

    // Client area of the view in pixels.
    void SetViewSize(int width, int height);
    CurveScale Scale() const;

    int SelectedNode() const { return m_selected; }
    bool IsDragging() const { return m_dragging; }
    bool IsReinsertPending() const { return m_reinsert; }

    // Piecewise-linear curve through the nodes, clamped to the LUT's range.
    void RecalcCurve();
    void SetNode(int index, int32_t x, int32_t y);
    void InsertNode(int32_t x, int32_t y);
    void DeleteNode(int index);
    // Values typed into the Input and Output fields; applied to the selected node when valid.
    void SetNodeFromFields(int32_t x, int32_t y);

    void OnLeftButtonDown(int px, int py);
    void OnMouseMove(int px, int py, bool leftButtonDown);
    void OnLeftButtonUp(int px, int py);

    // LUT position under a view pixel, kept within 0..N-1 so that a drag that leaves the view
    // never produces nodes the LUT cannot hold.
    LutNode MouseToLut(int px, int py) const;

    CurveGeometry Geometry() const;

  private:
    int NodeCount() const;
    int Entries() const;
    void Changed();
    void Redraw();

    ICurveEditorHost* m_host = nullptr;
    std::function<void()> m_redraw;
    CurveBinding m_binding;
    int m_width = 0;
    int m_height = 0;
    int m_selected = -1;
    bool m_dragging = false;
    // Set while a dragged middle node has been taken out for crossing a neighbour.
    bool m_reinsert = false;
};

}  // namespace velterra
