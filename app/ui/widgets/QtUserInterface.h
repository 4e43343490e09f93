#pragma once
#include <QObject>
#include <functional>

#include "core/UserInterface.h"

namespace velterra {

class CMainFrame;

// The core's user interface in the window: message boxes, file dialogs, the wait cursor, and
// the calls that go on to the frame (menus, window commands) and its first view (poll timer,
// lamp).
//
// Threads. Calls may come from any thread. RepaintLamp, SetWaitCursor and StartPollTimer from
// another thread (the LED polling thread) are queued onto the window's thread without waiting,
// so the caller never waits for the window's thread (which may itself be waiting for the LED
// thread to end). Calls that return an answer (message boxes, dialogs, menus) made from another
// thread wait for the window's thread to carry them out; the LED thread makes none of them.
class QtUserInterface : public QObject, public IUserInterface {
    Q_OBJECT

  public:
    explicit QtUserInterface(CMainFrame& frame);
    ~QtUserInterface() override;

    void ShowMessage(const std::string& text, MessageKind kind) override;
    void SetWaitCursor(bool on) override;
    void StartPollTimer(int periodMs) override;
    void RepaintLamp() override;
    bool RunWindowCommand(int commandId) override;
    OpenCameraResult RunOpenCameraDialog(CVelterraDoc& doc) override;
    bool RunPixelSetDialog(OnePixelRequest& request) override;
    std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override;
    std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override;
    void ResetCommandMenus() override;
    void LoadBasicCommands(const std::string& menuDatabase) override;
    void LoadAdvancedCommands(const std::string& menuDatabase) override;
    void LoadPasswordCommands(const std::string& menuDatabase) override;

    // The dialogs of other parts of the window, set where they are built. Without one, the
    // dialog's command says that it is not available yet and ends as a cancel.
    using OpenCameraDialog = std::function<OpenCameraResult(CVelterraDoc&)>;
    void SetOpenCameraDialog(OpenCameraDialog dialog) { openCamera_ = std::move(dialog); }
    using PixelSetDialog = std::function<bool(OnePixelRequest&)>;
    void SetPixelSetDialog(PixelSetDialog dialog) { pixelSet_ = std::move(dialog); }

    // Whether the caller runs on the window's thread.
    bool OnWindowThread() const;
    // Runs the work on the window's thread: at once when called there, else queued without
    // waiting. Work still queued when this object goes is dropped.
    void Post(std::function<void()> work);
    // Runs the work on the window's thread and waits for it; never call it from the LED thread.
    void Call(const std::function<void()>& work);

    // Wait-cursor requests now in force (SetWaitCursor true minus false, never below 0).
    int WaitCursorDepth() const { return waitCursorDepth_; }

  private:
    std::optional<std::string> AskFileName(const FileDialogRequest& request, bool save);
    void ApplyWaitCursor(bool on);

    CMainFrame& frame_;
    OpenCameraDialog openCamera_;
    PixelSetDialog pixelSet_;
    int waitCursorDepth_ = 0;
};

}  // namespace velterra
