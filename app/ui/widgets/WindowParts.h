#pragma once

namespace velterra {

class CMainFrame;
class CVelterraView;

// Puts the parts built in their own subsystems into the frame: the parameter view as its
// central widget, the Program menu's camera and settings-file commands, and the built-in
// functions that have a window of their own.
class CWindowParts {
  public:
    explicit CWindowParts(CMainFrame& frame);

    // Once the frame is on screen: the view's first initial update (starts the LED thread).
    void OnShown();

  private:
    CVelterraView* view_;
};

}  // namespace velterra
