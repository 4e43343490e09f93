#pragma once
#include <QDialog>
#include <QTimer>
#include <atomic>
#include <thread>

#include "dataops/CameraFunctions.h"
#include "dataops/FlatFieldWizard.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace velterra {

// "Flat-Field Correction": the wizard's steps in a modal dialog. The wait runs from a timer and
// its probes on a thread of their own, so the window keeps painting and Cancel stays within
// reach while the camera computes.
class CFlatFieldDialog : public QDialog {
    Q_OBJECT

  public:
    // Control ids of the dialog's template, kept as object names.
    static constexpr int kIdText = 1014;
    static constexpr int kIdProgress = 1019;
    static constexpr int kIdSkip = 1016;
    static constexpr int kIdNext = 1015;
    static constexpr int kIdCancel = 2;

    CFlatFieldDialog(CVelterraDoc& doc, int pollLimit, QWidget* parent = nullptr);
    ~CFlatFieldDialog() override;

    const FlatFieldWizard& Wizard() const { return wizard_; }

  public slots:
    // Cancel, Escape and the close box: stops a wait; the camera goes on computing. A probe
    // under way is let finish before the dialog closes.
    void reject() override;

  private:
    void OnNext();
    void OnSkip();
    void Show();
    // Does what the wizard's wait needs next: a probe off this thread, or a pause.
    void Drive();
    void OnProbeDone();

    CameraFunctions functions_;
    FlatFieldWizard wizard_;
    QLabel* text_;
    QProgressBar* progress_;
    QPushButton* skip_;
    QPushButton* next_;
    QPushButton* cancel_;
    QTimer pause_;
    std::thread probe_;
    bool closeAfterProbe_ = false;
};

// Settings key of the wizard's poll limit (QSettings of the program).
inline constexpr const char* kFlatFieldPollLimitKey = "FlatField/PollLimit";

// Built-in function 2: the wizard for the document, run modally; its result is not used.
void RunFlatFieldWizard(CVelterraDoc& doc, QWidget* parent);

}  // namespace velterra
