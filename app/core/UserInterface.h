#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "OnePixelRequest.h"

namespace velterra {

class CVelterraDoc;

// How the core reaches the user. The window implements it with widgets; the console tool and
// the tests implement it in their own way. The core never includes widget code.
//
// Threads. Every member is called on the user-interface thread, except these, which the LED
// polling thread (CGetLEDThread) also calls while it probes the camera and runs a requested
// refresh of every parameter: RepaintLamp and SetWaitCursor. A window must carry them over to
// its own thread and touch no widget from the caller's. It must not make the LED thread wait
// for the user-interface thread either, since that thread may at the same moment be waiting
// for the LED thread to end (CVelterraDoc::StopLedThread); so queue them without blocking. The
// lamp reads the document's NotResponding and Busy flags when it paints, so a queued repaint
// shows the current state.
// Plain: a box with the text and an OK button only.
enum class MessageKind { Information, Warning, Error, Question, Plain };

// What the Open Camera dialog hands back to the document.
struct OpenCameraResult {
    bool accepted = false;  // the dialog ended with OK
    int32_t slot = -1;      // the chosen port slot, -1 none
    std::string modelName;  // remote device name of that slot
    uint8_t kernel = 0;     // camera kernel type of the slot
    int32_t baudRate = 9600;
    bool connectionClosed = false;  // the document's port was closed while the dialog was open
};

// A file dialog: the filter as "Name (*.ext)|*.ext||", the extension added to a typed name
// without one (empty: none).
struct FileDialogRequest {
    std::string filter;
    std::string defaultExtension;
};

class IUserInterface {
  public:
    virtual ~IUserInterface() = default;

    // A modal message box with one of the system's fixed texts.
    virtual void ShowMessage(const std::string& text, MessageKind kind) = 0;

    // The members below have do-nothing defaults, so an implementation without a window (a test,
    // the console tool) overrides only what it has.

    // The wait cursor while a long operation runs. Also from the LED thread (its refresh).
    virtual void SetWaitCursor(bool /*on*/) {}
    // Starts (or restarts) timer 1 of the first view with this period.
    virtual void StartPollTimer(int /*periodMs*/) {}
    // Repaints the status lamp of the first view at once. Also from the LED thread.
    virtual void RepaintLamp() {}
    // Runs a window command by its id (a menu command, or a database menu id 37000-37200) as
    // a parameter's RunUICommand asks after a write; false when this user interface cannot run
    // it.
    virtual bool RunWindowCommand(int /*commandId*/) { return false; }
    // Runs the Open Camera dialog modally for the document; a default result is a cancel.
    virtual OpenCameraResult RunOpenCameraDialog(CVelterraDoc& /*doc*/) { return {}; }
    // Runs the Pixel Set dialog modally on the program's one-pixel request; true when it ends
    // with OK. A default result is a cancel.
    virtual bool RunPixelSetDialog(OnePixelRequest& /*request*/) { return false; }
    // The file dialogs; no value is a cancel.
    virtual std::optional<std::string> AskOpenFileName(const FileDialogRequest& /*request*/) {
        return std::nullopt;
    }
    virtual std::optional<std::string> AskSaveFileName(const FileDialogRequest& /*request*/) {
        return std::nullopt;
    }
    // The three command menus of the main frame.
    virtual void ResetCommandMenus() {}
    virtual void LoadBasicCommands(const std::string& /*menuDatabase*/) {}
    virtual void LoadAdvancedCommands(const std::string& /*menuDatabase*/) {}
    virtual void LoadPasswordCommands(const std::string& /*menuDatabase*/) {}
};

}  // namespace velterra
