#pragma once

namespace velterra {

// What the main frame and the window's user interface ask of the document's first view (the
// parameter list). The view implements what it has; until a view is set, the frame does
// without: no poll timer, no lamp, no admin level to drop or show, no LUT editor.
class IFrameView {
  public:
    virtual ~IFrameView() = default;

    // Timer 1 of the view, (re)started with this period.
    virtual void StartPollTimer(int /*periodMs*/) {}
    // Repaints the status lamp now (called on the window's thread).
    virtual void RepaintLamp() {}
    // The Password toggle: "Admin." level choice dropped (back to "Basic" when selected) or
    // shown again.
    virtual void DropAdminLevel() {}
    virtual void ShowAdminLevel() {}
    // Built-in function 8: opens the LUT editor, creating it on first use. False when the view
    // has none.
    virtual bool OpenLutEditor() { return false; }
};

}  // namespace velterra
