#pragma once
#include <functional>
#include <string>

namespace velterra {

class CMainFrame;

// Runs a camera function of the menus with the frame's camera functions reporting to an
// exchange progress dialog named after the function's Command.ini name. The dialog comes up
// at the first report only, so a function of one exchange shows none; it offers Stop while
// the operation under way can stop (the image-table read).
void RunWithFunctionProgress(CMainFrame& frame, const std::string& name,
                             const std::function<void()>& run);

}  // namespace velterra
