#pragma once

namespace velterra {

class CMainFrame;
class CVelterraView;

// The LUT functions of the command menus: the editor the view opens (function 8) and the two
// workbook transfers (functions 6 and 7), which run under a progress dialog that keeps the
// window painting between taps.
void InstallLutFunctions(CMainFrame& frame, CVelterraView& view);

}  // namespace velterra
