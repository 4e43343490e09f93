#pragma once
#include <QTableView>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;

namespace velterra {

// A two-column list whose value cells are edited in place: a single-line edit or a drop list
// of fixed choices laid over the cell. The owner decides which editor a line gets and what to
// do with a committed text; this control places the editor, filters typing through the owner's
// validator and reports. It never writes a cell itself. Column 0 is never edited.
class CEditListCtrl : public QTableView {
    Q_OBJECT

  public:
    // The messages of the list to its owner, by their historical numbers.
    static constexpr int kCommitMessage = 0x400 + 100;
    static constexpr int kRowKeyMessage = 0x400 + 200;
    static constexpr int kEditClosedMessage = 0x400 + 300;
    // Key codes the row-key message carries.
    static constexpr int kKeyEnter = 13;
    static constexpr int kKeyLeft = 37;
    static constexpr int kKeyRight = 39;
    // A committed text holds at most this many characters; a longer one is cut.
    static constexpr int kMaxCommitChars = 63;

    // Checks a text of the edit box for a row: true when it is a valid final value; sets
    // keepTyping when the text may stay while the user types although it is not valid yet.
    using Validator = std::function<bool(int row, const std::string& text, bool& keepTyping)>;

    explicit CEditListCtrl(QWidget* parent = nullptr);

    void SetValidator(Validator validator) { m_pfnValidate = std::move(validator); }

    // Starts the edit box on a cell; false for a row below 0 or column 0. A cell showing
    // "[N/A]" starts empty, a longer text is cut to maxLength.
    bool BeginEdit(int row, int column, int maxLength, std::string* text = nullptr);
    // Starts the drop list on a cell; the choice equal to the cell's text is selected.
    void BeginComboEdit(int row, int column, const std::vector<std::string>& choices);
    // Ends whichever editor is open; with commit, a changed, non-empty, valid text is reported.
    void EndEdit(bool commit);
    // Ends an open editor without committing and tells the owner.
    void CancelEdit();
    // Puts a number into the edit box (the owner's slider moved).
    void SetEditNumber(uint32_t value);

    // Each column as wide as the wider of its content and its header text.
    void SizeColumns();

    bool IsEditFocused() const;
    bool IsComboFocused() const;
    bool IsEditing() const { return m_bEditing || m_bChoosing; }
    int EditRow() const { return m_nRow; }
    QLineEdit* EditBox() const { return m_edit; }
    QComboBox* ChoiceBox() const { return m_combo; }

  signals:
    void valueCommitted(int row, const QString& text);  // kCommitMessage
    void rowKeyPressed(int key, int row);               // kRowKeyMessage
    void editClosed();                                  // kEditClosedMessage
    // A left press in a cell, with the point relative to the cell (the owner decides).
    void cellPressed(int row, int column, QPoint inCell, int cellHeight);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Enter and Escape, from the list or from one of its editors.
    bool HandleKey(int key);
    void OnEditTextEdited(const QString& text);
    void PlaceEditBox(const QRect& cell);
    int EditorWidth(const QString& text) const;
    QString CellText(int row, int column) const;
    int FirstSelectedRow() const;

    QLineEdit* m_edit = nullptr;
    QComboBox* m_combo = nullptr;
    Validator m_pfnValidate;
    std::string m_szCommit;
    QString m_strLastText;
    bool m_bEditing = false;
    bool m_bChoosing = false;
    int m_nRow = -1;
    int m_nColumn = -1;
};

}  // namespace velterra
