#include "UiThreadRelay.h"

#include <QMessageBox>

namespace velterra {

bool UiThreadRelay::OnWidgetThread() const {
    return widget_.isNull() || QThread::currentThread() == widget_->thread();
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
