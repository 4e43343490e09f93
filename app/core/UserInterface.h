#pragma once
#include <cstdint>
#include <string>

#include "OnePixelRequest.h"

class CVelterraDoc;

// How the core reaches the user. The window implements it with widgets; the console tool and
// the tests implement it in their own way. The core never includes widget code.
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

class IUserInterface {
  public:
    virtual ~IUserInterface() = default;

    // A modal message box with one of the system's fixed texts.
    virtual void ShowMessage(const std::string& text, MessageKind kind) = 0;

    // The members below have do-nothing defaults, so an implementation without a window (a test,
    // the console tool) overrides only what it has.

    // The wait cursor while a long operation runs.
    virtual void SetWaitCursor(bool /*on*/) {}
    // Starts (or restarts) timer 1 of the first view with this period.
    virtual void StartPollTimer(int /*periodMs*/) {}
    // Repaints the status lamp of the first view at once.
    virtual void RepaintLamp() {}
    // Runs the Open Camera dialog modally for the document; a default result is a cancel.
    virtual OpenCameraResult RunOpenCameraDialog(CVelterraDoc& /*doc*/) { return {}; }
    // Runs the Pixel Set dialog modally on the program's one-pixel request; true when it ends
    // with OK. A default result is a cancel.
    virtual bool RunPixelSetDialog(velterra::OnePixelRequest& /*request*/) { return false; }
    // The three command menus of the main frame.
    virtual void ResetCommandMenus() {}
    virtual void LoadBasicCommands(const std::string& /*menuDatabase*/) {}
    virtual void LoadAdvancedCommands(const std::string& /*menuDatabase*/) {}
    virtual void LoadPasswordCommands(const std::string& /*menuDatabase*/) {}
};
