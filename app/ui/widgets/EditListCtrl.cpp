#include "EditListCtrl.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "core/EngineTexts.h"

namespace velterra {

namespace {

constexpr int kEditBoxId = 101;
constexpr int kChoiceBoxId = 102;
constexpr int kMinEditorWidth = 36;
constexpr int kEditorWidthMargin = 20;
constexpr int kComboWidthMargin = 36;
constexpr int kMinEditorHeight = 20;
constexpr int kComboVisibleItems = 20;

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

CEditListCtrl::CEditListCtrl(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();

    m_edit = new QLineEdit(viewport());
    m_edit->setObjectName(QStringLiteral("edit%1").arg(kEditBoxId));
    m_edit->hide();
    m_edit->installEventFilter(this);
    connect(m_edit, &QLineEdit::textEdited, this, &CEditListCtrl::OnEditTextEdited);

    m_combo = new QComboBox(viewport());
    m_combo->setObjectName(QStringLiteral("combo%1").arg(kChoiceBoxId));
    m_combo->setEditable(false);
    m_combo->setMaxVisibleItems(kComboVisibleItems);
    m_combo->hide();
    m_combo->installEventFilter(this);

    // Scroll-bar clicks and header clicks end an edit without committing it.
    verticalScrollBar()->installEventFilter(this);
    horizontalScrollBar()->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionPressed, this, [this] { CancelEdit(); });
}

QString CEditListCtrl::CellText(int row, int column) const {
    if (model() == nullptr) return {};
    return model()->index(row, column).data(Qt::DisplayRole).toString();
}

int CEditListCtrl::FirstSelectedRow() const {
    if (selectionModel() == nullptr) return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) return -1;
    int first = rows.front().row();
    for (const QModelIndex& index : rows) first = std::min(first, index.row());
    return first;
}

int CEditListCtrl::EditorWidth(const QString& text) const {
    return std::max(kMinEditorWidth, fontMetrics().horizontalAdvance(text) + kEditorWidthMargin);
}

void CEditListCtrl::PlaceEditBox(const QRect& cell) {
    m_edit->setGeometry(cell.left(), cell.top(), EditorWidth(m_edit->text()),
                        std::max(cell.height(), kMinEditorHeight));
}

bool CEditListCtrl::BeginEdit(int row, int column, int maxLength, std::string* text) {
    if (row < 0 || column < 1 || model() == nullptr || row >= model()->rowCount()) return false;
    if (IsEditing()) EndEdit(false);
    m_bEditing = true;
    m_nRow = row;
    m_nColumn = column;

    QString value = CellText(row, column);
    if (value == QString::fromUtf8(EngineText::kNotAvailable)) value.clear();
    // The limit also holds for a cell that showed "[N/A]": a committed text has room for 63.
    const int limit = std::clamp(maxLength, 0, kMaxCommitChars);
    m_edit->setMaxLength(limit > 0 ? limit : kMaxCommitChars);
    if (value.size() > m_edit->maxLength()) value.truncate(m_edit->maxLength());
    m_strLastText = value;

    m_edit->setFont(font());
    m_edit->setText(value);
    PlaceEditBox(visualRect(model()->index(row, column)));
    m_edit->show();
    m_edit->setFocus(Qt::OtherFocusReason);
    m_edit->selectAll();
    if (text != nullptr) *text = value.toStdString();
    return true;
}

void CEditListCtrl::BeginComboEdit(int row, int column, const std::vector<std::string>& choices) {
    if (row < 0 || column < 1 || model() == nullptr || row >= model()->rowCount()) return;
    if (IsEditing()) EndEdit(false);
    m_nRow = row;
    m_bChoosing = true;
    m_nColumn = column;

    const QString current = CellText(row, column);
    m_combo->setFont(font());
    m_combo->clear();
    int selected = -1;
    int widest = 0;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const QString choice = QString::fromStdString(choices[i]);
        m_combo->addItem(choice);
        if (choice == current) selected = static_cast<int>(i);  // the last equal one
        widest = std::max(widest, fontMetrics().horizontalAdvance(choice));
    }
    const QRect cell = visualRect(model()->index(row, column));
    m_combo->setGeometry(cell.left(), cell.top(), widest + kComboWidthMargin,
                         std::max(cell.height(), kMinEditorHeight));
    m_combo->show();
    m_combo->setFocus(Qt::OtherFocusReason);
    m_combo->setCurrentIndex(selected);
}

void CEditListCtrl::EndEdit(bool commit) {
    const int row = m_nRow;
    const int column = m_nColumn;
    std::optional<QString> committed;
    if (m_bEditing) {
        const QString text = m_edit->text();
        if (commit && row >= 0 && column >= 1 && !text.isEmpty() && text != CellText(row, column)) {
            bool keepTyping = false;
            if (!m_pfnValidate || m_pfnValidate(row, text.toStdString(), keepTyping)) {
                committed = text;
            }
        }
    } else if (m_bChoosing) {
        const int choice = m_combo->currentIndex();
        if (commit && row >= 0 && column >= 1 && choice >= 0) {
            const QString text = m_combo->itemText(choice);
            if (text != CellText(row, column)) committed = text;
        }
    }
    const bool wasEditing = m_bEditing;
    const bool wasChoosing = m_bChoosing;
    // The state is idle before the editors hide, so the focus change their hiding causes and
    // anything the owner does with the commit meet a list that edits nothing.
    m_bEditing = false;
    m_bChoosing = false;
    m_nRow = m_nColumn = -1;
    m_strLastText.clear();
    if ((wasEditing && m_edit->hasFocus()) || (wasChoosing && m_combo->hasFocus())) {
        setFocus(Qt::OtherFocusReason);
    }
    if (wasEditing) m_edit->hide();
    if (wasChoosing) {
        m_combo->hidePopup();
        m_combo->hide();
        m_combo->clear();
    }
    if (committed) {
        m_szCommit = committed->toStdString().substr(0, kMaxCommitChars);
        emit valueCommitted(row, QString::fromStdString(m_szCommit));
    }
}

void CEditListCtrl::CancelEdit() {
    if (!IsEditing()) return;
    EndEdit(false);
    emit editClosed();
}

void CEditListCtrl::SetEditNumber(uint32_t value) {
    if (!m_bEditing) return;
    const QString text = QString::number(value);
    m_edit->setText(text);
    m_strLastText = text;
    m_edit->resize(EditorWidth(text), m_edit->height());
}

void CEditListCtrl::SizeColumns() {
    if (model() == nullptr) return;
    for (int column = 0; column < model()->columnCount(); ++column) {
        setColumnWidth(column, std::max(sizeHintForColumn(column),
                                        horizontalHeader()->sectionSizeHint(column)));
    }
}

bool CEditListCtrl::IsEditFocused() const {
    return m_edit->hasFocus();
}

bool CEditListCtrl::IsComboFocused() const {
    return m_combo->hasFocus();
}

void CEditListCtrl::OnEditTextEdited(const QString& text) {
    bool keepTyping = false;
    if (m_pfnValidate && !m_pfnValidate(m_nRow, text.toStdString(), keepTyping) && !keepTyping) {
        const int caret = m_edit->cursorPosition();
        m_edit->setText(m_strLastText);
        m_edit->setCursorPosition(std::max(0, caret - 1));
        // The refused text may have moved the owner's slider: the restored one puts it back.
        m_pfnValidate(m_nRow, m_strLastText.toStdString(), keepTyping);
        return;
    }
    m_strLastText = text;
    m_edit->resize(EditorWidth(text), m_edit->height());
}

bool CEditListCtrl::HandleKey(int key) {
    if (IsEnter(key)) {
        if (IsEditing()) {
            EndEdit(true);
            emit editClosed();
        } else {
            emit rowKeyPressed(kKeyEnter, FirstSelectedRow());
        }
        return true;
    }
    if (key == Qt::Key_Escape) {
        CancelEdit();
        return true;
    }
    return false;
}

void CEditListCtrl::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (IsEnter(key) || key == Qt::Key_Escape) {
        HandleKey(key);
        event->accept();
        return;
    }
    if (key == Qt::Key_Left || key == Qt::Key_Right) {
        emit rowKeyPressed(key == Qt::Key_Left ? kKeyLeft : kKeyRight, FirstSelectedRow());
    }
    QTableView::keyPressEvent(event);
}

void CEditListCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        CancelEdit();
    } else if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        const QModelIndex index = indexAt(at);
        const QRect cell = index.isValid() ? visualRect(index) : QRect();
        emit cellPressed(index.isValid() ? index.row() : -1, index.isValid() ? index.column() : -1,
                         at - cell.topLeft(), cell.height());
    }
    QTableView::mousePressEvent(event);
}

bool CEditListCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == m_edit || watched == m_combo)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (IsEnter(key) || key == Qt::Key_Escape) return HandleKey(key);
    }
    if (event->type() == QEvent::MouseButtonPress &&
        (watched == verticalScrollBar() || watched == horizontalScrollBar())) {
        CancelEdit();
    }
    return QTableView::eventFilter(watched, event);
}

}  // namespace velterra
