#pragma once
#include <QDialog>
#include <atomic>
#include <functional>
#include <thread>

#include "UiThreadRelay.h"
#include "connect/OpenCameraModel.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace velterra {

class CVelterraDoc;

// "Open Camera": the port list and buttons over an OpenCameraModel. Scans, connects and closes
// run on a worker thread, so the dialog keeps painting and says which port it is probing; the
// Selection Mode dialog and the messages those steps show come back to the dialog's thread.
// The dialog starts with the Selection Mode dialog as soon as it is shown.
class COpenCameraDlg : public QDialog, private OpenCameraModel::Listener {
    Q_OBJECT

  public:
    explicit COpenCameraDlg(CVelterraDoc& doc, QWidget* parent = nullptr,
                            ProbeTable& table = ProcessProbeTable());
    ~COpenCameraDlg() override;

    // Runs the dialog modally; what the document reads at its end. With a forced slot the
    // dialog starts by connecting it (see SetForcedStart).
    static OpenCameraResult Run(CVelterraDoc& doc, QWidget* parent, int forcedSlot = -1,
                                int32_t baudRate = 0);

    // Start by connecting this slot at this baud rate (0: the Selection Mode dialog's preset)
    // as the forced mode does, instead of asking first; the Selection Mode dialog comes only
    // when that fails.
    void SetForcedStart(int slot, int32_t baudRate);

    // Shows the Selection Mode dialog on the dialog's thread; true when it ended with OK. The
    // default one runs CSelectionModeDlg; tests put their own choices in.
    using SelectionRunner = std::function<bool(SelectionMode&)>;
    void SetSelectionRunner(SelectionRunner runner) { selectionRunner_ = std::move(runner); }

    OpenCameraResult Result() const { return model_.Result(outcome_); }
    const OpenCameraModel& Model() const { return model_; }
    // A scan or connect is under way on the worker.
    bool IsBusy() const { return busy_; }

    // The controls, for the tests.
    QTableWidget* PortList() const { return portList_; }
    QPushButton* Button(int id) const;
    QLabel* ProgressLabel() const { return progressLabel_; }

    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using Work = std::function<OpenCameraModel::Outcome()>;
    // Runs work on the worker thread; when it ends, the list and buttons show the model again
    // and an Ok or Cancel outcome closes the dialog.
    void RunInBackground(Work work);
    void Finish(OpenCameraModel::Outcome outcome);
    bool RunSelectionMode(SelectionMode& selection);
    void ShowModel();
    void ShowBusy(bool busy);
    void ShowProbing(int slot);
    void OnSelectionChanged();

    // Listener: called on the worker; the widgets follow when the work ends.
    void FitColumns() override { fitPending_ = true; }
    void FocusList() override { focusPending_ = true; }
    void Probing(int slot) override;

    OpenCameraModel model_;
    UiThreadRelay relay_;
    SelectionRunner selectionRunner_;
    OpenCameraModel::Outcome outcome_ = OpenCameraModel::Outcome::Cancel;
    std::thread worker_;
    bool busy_ = false;
    bool started_ = false;
    int forcedSlot_ = -1;
    int32_t forcedBaud_ = 0;
    bool showingModel_ = false;  // the list is being filled from the model
    std::atomic<bool> fitPending_{false};
    std::atomic<bool> focusPending_{false};

    QTableWidget* portList_;
    QLabel* progressLabel_;
    QProgressBar* progressBar_;
    QPushButton* openButton_;
    QPushButton* closeButton_;
    QPushButton* selectionButton_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

}  // namespace velterra
