#pragma once
#include <cstdint>
#include <string>

namespace velterra {

class CMainFrame;

// The Program menu's camera and settings-file commands in the window: "&Open Camera..." with
// the Open Camera dialog, "&Load VLT File..." and "&Save VLT File As..." with file dialogs for
// "*.vlt" files, "Compare with VLT File..." after them, the recent-file entries, and what the
// command line asks for at start (--port connects as the forced one-port mode does, FILE.vlt
// loads). The file dialogs and messages go through the document's user interface.
void InstallProgramCommands(CMainFrame& frame);

namespace ProgramCommands {

// Command id of "Compare with VLT File...".
inline constexpr int kIdCompareVlt = 32801;

// What each command does, for the handlers above and the tests.
void LoadWithDialog(CMainFrame& frame);
void SaveWithDialog(CMainFrame& frame);
// Loads path as the load command does after its file dialog; a file that could be read as a
// settings file joins the recent files.
void LoadPath(CMainFrame& frame, const std::string& path);
// Asks for a settings file, reads the camera's parameters it holds with progress, and shows the
// differences with the offer to write the checked ones into the camera.
void CompareWithDialog(CMainFrame& frame);

}  // namespace ProgramCommands

}  // namespace velterra
