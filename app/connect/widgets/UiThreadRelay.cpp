#include "UiThreadRelay.h"

#include <QMessageBox>
#include <QMetaObject>
#include <QThread>

namespace velterra {

UiThreadRelay::UiThreadRelay(IUserInterface* inner, QWidget* widget)
    : inner_(inner), widget_(widget) {}

bool UiThreadRelay::OnWidgetThread() const {
    return widget_.isNull() || QThread::currentThread() == widget_->thread();
}

void UiThreadRelay::RunOnWidgetThread(const std::function<void()>& f) const {
    if (OnWidgetThread()) {
        f();
        return;
    }
    const std::shared_ptr<Waits> waits = waits_;
    auto done = std::make_shared<bool>(false);
    {
        std::lock_guard lock(waits->mutex);
        if (waits->abandoned) return;
    }
    // Both the call and Abandon run on the widget's thread, so once abandoned the call never
    // starts, and f (which lives with this waiting worker) is not touched after it returned.
    QMetaObject::invokeMethod(
        widget_.data(),
        [waits, done, &f] {
            {
                std::lock_guard lock(waits->mutex);
                if (waits->abandoned) return;
            }
            f();
            std::lock_guard lock(waits->mutex);
            *done = true;
            waits->changed.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(waits->mutex);
    waits->changed.wait(lock, [&] { return *done || waits->abandoned; });
}

void UiThreadRelay::Abandon() {
    std::lock_guard lock(waits_->mutex);
    waits_->abandoned = true;
    waits_->changed.notify_all();
}

void UiThreadRelay::Show(const std::string& text, MessageKind kind) {
    if (inner_ != nullptr) {
        inner_->ShowMessage(text, kind);
        return;
    }
    QMessageBox::information(widget_.data(), QStringLiteral("Velterra"),
                             QString::fromStdString(text));
}

void UiThreadRelay::ShowMessage(const std::string& text, MessageKind kind) {
    RunOnWidgetThread([this, &text, kind] { Show(text, kind); });
}

void UiThreadRelay::SetWaitCursor(bool on) {
    if (inner_ == nullptr) return;
    if (OnWidgetThread()) {
        inner_->SetWaitCursor(on);
        return;
    }
    IUserInterface* inner = inner_;
    QMetaObject::invokeMethod(
        widget_.data(), [inner, on] { inner->SetWaitCursor(on); }, Qt::QueuedConnection);
}

}  // namespace velterra
