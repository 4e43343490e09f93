#pragma once
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "core/DocumentObserver.h"
#include "core/ParameterList.h"
#include "core/SettleTimer.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QRadioButton;
class QSlider;

namespace velterra {

class CEditListCtrl;
class CVelterraDoc;
class LedLamp;
class ParameterListModel;

// The frame's central widget: the camera's parameters as a list of collapsible groups with
// in-place editing, the slider of a number edit, the port and model fields, the status lamp,
// the content level and the connection error log. It shows the document and forwards what the
// user does to the core; the rules live there (ParameterList, ValueEditRules, ValueCommit,
// SettleTimer).
//
// Threads. Hints 1 and 3, refresh progress, PaintLedLamp and StartPollTimer may come from the
// LED polling thread; they are queued to the window's thread and never wait for it.
class CVelterraView : public QWidget, public IDocumentObserver {
    Q_OBJECT

  public:
    static constexpr int kPollTimerId = 1;

    explicit CVelterraView(CVelterraDoc& doc, QWidget* parent = nullptr);
    // Stops the document's LED thread first: it reports to this view.
    ~CVelterraView() override;

    // The first time the window shows (and again after a settings file was opened): starts the
    // LED thread once and sets the list up.
    void OnInitialUpdate();

    // Repaints the lamp at once; from any thread.
    void PaintLedLamp();
    // Starts or restarts timer 1; from any thread.
    void StartPollTimer(int periodMs);
    // The frame's Password toggle shows and hides the "Admin." choice.
    void ShowAdminLevel();
    void DropAdminLevel();
    // Built-in function 8. The LUT editor is made by the factory on first use; without one
    // nothing opens. Hint 4 deletes it again.
    using LutEditorFactory = std::function<QWidget*(CVelterraDoc& doc, QWidget* parent)>;
    void SetLutEditorFactory(LutEditorFactory factory) { lutFactory_ = std::move(factory); }
    void OpenLutEditor();

    // In-place editing of the model row `row` of the list.
    void BeginValueEdit(int row);
    bool ValidateValueText(int row, const std::string& text, bool& belowMin);
    void CommitValueEdit(int row, const std::string& text);

    int ContentLevel() const { return m_nContentLevel; }
    // As a click on a content level radio button does.
    void ChooseContentLevel(int level);

    void OnDocumentUpdate(int hint, const BlockArray* blocks, const std::string& message) override;
    void OnRefreshProgress(int done, int total) override;

    // The parts a test or the frame looks at.
    CEditListCtrl* List() const { return list_; }
    ParameterListModel* Model() const { return model_; }
    QSlider* Slider() const { return slider_; }
    QLabel* MinLabel() const { return minLabel_; }
    QLabel* MaxLabel() const { return maxLabel_; }
    LedLamp* Lamp() const { return lamp_; }
    QLineEdit* PortField() const { return portField_; }
    QLineEdit* PortTypeField() const { return portTypeField_; }
    QLineEdit* ModelField() const { return modelField_; }
    QPlainTextEdit* Log() const { return log_; }
    QLineEdit* FilterField() const { return filter_; }
    QRadioButton* AdminButton() const { return levelButtons_[2]; }
    QProgressBar* Progress() const { return progress_; }
    bool PollTimerActive() const { return timer1_.isActive(); }
    QWidget* LutEditor() const { return lutEditor_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    void OnUpdate(int hint, const BlockArray* blocks, const std::string& message);
    void Rebuild(const BlockArray* blocks);
    void ShowPortFields();
    void AppendLog(const std::string& message);
    void ShowProgress(int done, int total);
    void OnTimer();
    void OnSliderMoved(int position);
    void OnCellPressed(int row, int column, QPoint inCell, int cellHeight);
    void OnRowKey(int key, int row);
    void OnFocusChanged(QWidget* old, QWidget* now);
    void HideSlider();
    void UpdateBusyCursor();
    bool Filtering() const;
    std::optional<ParameterListRow> RowAt(int row) const;
    const CommandInfo* CommandAt(int row) const;
    bool OnGuiThread() const;

    CVelterraDoc& doc_;
    ParameterList lines_;
    ParameterListModel* model_ = nullptr;
    CEditListCtrl* list_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* minLabel_ = nullptr;
    QLabel* maxLabel_ = nullptr;
    QLineEdit* portField_ = nullptr;
    QLineEdit* portTypeField_ = nullptr;
    QLineEdit* modelField_ = nullptr;
    LedLamp* lamp_ = nullptr;
    QButtonGroup* levelGroup_ = nullptr;
    QRadioButton* levelButtons_[3] = {};
    QPlainTextEdit* log_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer timer1_;
    SettleTimer settle_;
    QPointer<QWidget> lutEditor_;
    LutEditorFactory lutFactory_;

    int m_nContentLevel = 0;
    QMetaObject::Connection focusConnection_;
    bool initialised_ = false;
    // The blocks the list shows (the document's array after hint 1 with it), none when empty.
    const BlockArray* shownBlocks_ = nullptr;
    // A refresh on this thread is processing events between its exchanges: the timer's ticks
    // wait, so no exchange starts from inside it.
    bool refreshing_ = false;
};

}  // namespace velterra
