#pragma once

namespace velterra {

// What the curve editor asks of the editor that owns the LUT storage.
class ICurveEditorHost {
  public:
    virtual ~ICurveEditorHost() = default;

    // Shows a LUT position in the Input and Output fields.
    virtual void ShowCoordinates(int x, int y) = 0;
    // Copies the all-taps option to every tap when that option was just edited.
    virtual void PropagateAllTaps() = 0;
};

}  // namespace velterra
