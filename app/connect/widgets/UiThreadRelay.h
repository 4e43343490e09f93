#pragma once
#include <QPointer>
#include <QWidget>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "core/UserInterface.h"

namespace velterra {

// Carries the calls a port scan or connect makes from its worker thread over to the thread of
// a widget: a message box waits there until the user closes it (the worker waits with it), the
// wait cursor is queued. Calls made on the widget's own thread go straight through. Without an
// inner user interface the messages are shown as plain boxes over the widget.
class UiThreadRelay : public IUserInterface {
  public:
    UiThreadRelay(IUserInterface* inner, QWidget* widget);

    void ShowMessage(const std::string& text, MessageKind kind) override;
    void SetWaitCursor(bool on) override;

    // Runs f on the widget's thread and waits for it; at once when already there. After
    // Abandon it returns without running f.
    void RunOnWidgetThread(const std::function<void()>& f) const;

    // Called on the widget's thread when it is about to wait for the worker (the dialog goes
    // while the worker runs, as when the program is told to end): a call the worker is waiting
    // for, or makes later, no longer waits for that thread, which would never come to it.
    void Abandon();

  private:
    bool OnWidgetThread() const;
    void Show(const std::string& text, MessageKind kind);

    // Shared with the queued calls, which may run after the relay is gone.
    struct Waits {
        std::mutex mutex;
        std::condition_variable changed;
        bool abandoned = false;
    };

    IUserInterface* inner_;
    QPointer<QWidget> widget_;
    std::shared_ptr<Waits> waits_ = std::make_shared<Waits>();
};

}  // namespace velterra
