#pragma once
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <utility>

#include "core/UserInterface.h"

namespace velterra {

// Carries the calls a port scan or connect makes from its worker thread over to the thread of
// a widget: a message box waits there until the user closes it (the worker waits with it), the
// wait cursor is queued. Calls made on the widget's own thread go straight through. Without an
// inner user interface the messages are shown as plain boxes over the widget.
class UiThreadRelay : public IUserInterface {
  public:
    UiThreadRelay(IUserInterface* inner, QWidget* widget) : inner_(inner), widget_(widget) {}

    void ShowMessage(const std::string& text, MessageKind kind) override;
    void SetWaitCursor(bool on) override;

    // Runs f on the widget's thread and waits for it; at once when already there.
    template <typename F>
    void RunOnWidgetThread(F&& f) const;

  private:
    bool OnWidgetThread() const;
    void Show(const std::string& text, MessageKind kind);

    IUserInterface* inner_;
    QPointer<QWidget> widget_;
};

template <typename F>
void UiThreadRelay::RunOnWidgetThread(F&& f) const {
    if (OnWidgetThread() || widget_.isNull()) {
        f();
        return;
    }
    QMetaObject::invokeMethod(widget_.data(), std::forward<F>(f), Qt::BlockingQueuedConnection);
}

}  // namespace velterra
