#pragma once
#include <QString>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace velterra {

// The progress of a long run of camera exchanges on the window's thread: exchanges done of the
// total in a modal progress dialog over `parent`, shown at the first report and closed at the
// report of the last exchange. Between two
// exchanges the window paints and the Stop button is read; the dialog's modality keeps the
// menus and the keys from starting anything else meanwhile.
class ExchangeProgress {
  public:
    // `stopText` names the button that asks the work to stop; an empty one gives no button.
    ExchangeProgress(QWidget* parent, QString title, QString label, QString stopText);
    ~ExchangeProgress();
    ExchangeProgress(const ExchangeProgress&) = delete;
    ExchangeProgress& operator=(const ExchangeProgress&) = delete;

    // One report: shows and updates the dialog, lets the window paint. False once Stop was
    // pressed. `canStop` false hides the button (work that has no point to stop at).
    bool Report(int done, int total, bool canStop = true);
    bool Stopped() const;
    // A new label for the reports from now on (work whose steps have names of their own).
    void SetLabel(const QString& label);
    // The dialog while it is shown (nullptr before the first report).
    QProgressDialog* Dialog() const { return dialog_.get(); }

  private:
    QWidget* parent_;
    QString title_;
    QString label_;
    QString stopText_;
    std::unique_ptr<QProgressDialog> dialog_;
};

// Runs the work under an ExchangeProgress; the work gets the report callback.
using ExchangeReport = std::function<bool(int done, int total)>;
void RunWithExchangeProgress(QWidget* parent, const QString& title, const QString& label,
                             const QString& stopText,
                             const std::function<void(const ExchangeReport&)>& work);

}  // namespace velterra
