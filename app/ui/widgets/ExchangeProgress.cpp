#include "ExchangeProgress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>
#include <QProgressDialog>

#include "ui/UiTexts.h"

namespace velterra {

namespace {

// Escape and the close box ask to stop as the button does, and do nothing while the work has no
// point to stop at: the dialog stays up until the work ends.
class StopGuardDialog final : public QProgressDialog {
  public:
    using QProgressDialog::QProgressDialog;
    bool canStop = true;

    void reject() override {
        if (canStop) cancel();
    }

  protected:
    void closeEvent(QCloseEvent* event) override {
        if (!canStop) {
            event->ignore();
            return;
        }
        QProgressDialog::closeEvent(event);
    }
};

}  // namespace

ExchangeProgress::ExchangeProgress(QWidget* parent, QString title, QString label, QString stopText)
    : parent_(parent),
      title_(std::move(title)),
      label_(std::move(label)),
      stopText_(std::move(stopText)) {}

ExchangeProgress::~ExchangeProgress() = default;

bool ExchangeProgress::Report(int done, int total, bool canStop) {
    canStop = canStop && !stopText_.isEmpty();
    bool created = false;
    if (!dialog_) {
        auto dialog = std::make_unique<StopGuardDialog>(label_, QString(), 0, 1, parent_);
        dialog->setWindowTitle(title_);
        // Application-wide: no other window of the program takes input while exchanges run.
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->setMinimumDuration(0);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        auto* bar = new QProgressBar(dialog.get());
        bar->setFormat(QString::fromUtf8(UiText::kExchangesDone));
        bar->setTextVisible(true);
        dialog->setBar(bar);
        dialog->setMinimumWidth(360);
        dialog->canStop = !canStop;  // the button is set up below
        dialog_ = std::move(dialog);
        created = true;
    }
    auto* dialog = static_cast<StopGuardDialog*>(dialog_.get());
    if (dialog->canStop != canStop) {
        dialog->canStop = canStop;
        dialog->setCancelButtonText(canStop ? stopText_ : QString());
    }
    dialog->setMaximum(total > 0 ? total : 1);
    dialog->setValue(done);
    // Shown once: a dialog the window has closed (the program ending) stays closed. The last
    // exchange done closes it, so what the work shows afterwards (a file dialog, a message)
    // stands alone.
    if (created) dialog->show();
    if (total > 0 && done >= total) dialog->hide();
    QApplication::processEvents();
    return !dialog->wasCanceled();
}

void ExchangeProgress::SetLabel(const QString& label) {
    label_ = label;
    if (dialog_) dialog_->setLabelText(label_);
}

bool ExchangeProgress::Stopped() const {
    return dialog_ && dialog_->wasCanceled();
}

void RunWithExchangeProgress(QWidget* parent, const QString& title, const QString& label,
                             const QString& stopText,
                             const std::function<void(const ExchangeReport&)>& work) {
    ExchangeProgress progress(parent, title, label, stopText);
    work([&progress](int done, int total) { return progress.Report(done, total); });
}

}  // namespace velterra
