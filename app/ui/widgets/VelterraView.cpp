#include "VelterraView.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QThread>
#include <QVBoxLayout>
#include <cstdlib>

#include "EditListCtrl.h"
#include "LedLamp.h"
#include "ParameterListDelegate.h"
#include "ParameterListModel.h"
#include "core/FormatText.h"
#include "core/PortSlot.h"
#include "core/UpdateHints.h"
#include "core/ValueCommit.h"
#include "core/ValueEditRules.h"
#include "core/VelterraDoc.h"
#include "ui/ParameterFilter.h"
#include "ui/ViewTexts.h"
#include "ui/widgets/WidgetText.h"

namespace velterra {

namespace {

constexpr int kLogVisibleLines = 4;

QLineEdit* ReadOnlyField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    return field;
}

// The descendant test across pop-ups: a combo box's list is a window of its own.
bool IsWithin(const QWidget* widget, const QWidget* ancestor) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (widget == ancestor) return true;
    }
    return false;
}

}  // namespace

CVelterraView::CVelterraView(CVelterraDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    BuildLayout();
    timer1_.setTimerType(Qt::CoarseTimer);
    connect(&timer1_, &QTimer::timeout, this, &CVelterraView::OnTimer);
    focusConnection_ =
        connect(qApp, &QApplication::focusChanged, this, &CVelterraView::OnFocusChanged);
    doc_.AddObserver(this);
    ShowPortFields();
}

CVelterraView::~CVelterraView() {
    // Focus moves while the base widget is torn down; by then this is no longer a view.
    disconnect(focusConnection_);
    doc_.StopLedThread();
    doc_.RemoveObserver(this);
}

void CVelterraView::BuildLayout() {
    portField_ = ReadOnlyField(this);
    portTypeField_ = ReadOnlyField(this);
    modelField_ = ReadOnlyField(this);
    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(Text(ViewText::kOpenedPort), this), 0, 0);
    fields->addWidget(portField_, 0, 1);
    fields->addWidget(new QLabel(Text(ViewText::kPortType), this), 0, 2);
    fields->addWidget(portTypeField_, 0, 3);
    fields->addWidget(new QLabel(Text(ViewText::kModelInformation), this), 1, 0);
    fields->addWidget(modelField_, 1, 1, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    lamp_ = new LedLamp([this] { return doc_.NotResponding || doc_.Busy; }, this);
    auto* lampBox = new QHBoxLayout;
    lampBox->addStretch();
    lampBox->addWidget(new QLabel(Text(ViewText::kLed), this));
    lampBox->addWidget(lamp_);

    auto* levels = new QGroupBox(Text(ViewText::kContentLevel), this);
    auto* levelRow = new QHBoxLayout(levels);
    levelGroup_ = new QButtonGroup(this);
    const char* names[] = {ViewText::kBasic, ViewText::kAdvanced, ViewText::kAdmin};
    for (int level = 0; level < 3; ++level) {
        levelButtons_[level] = new QRadioButton(Text(names[level]), levels);
        // No focus on a click: the choice itself ends an edit (without committing it).
        levelButtons_[level]->setFocusPolicy(Qt::TabFocus);
        levelGroup_->addButton(levelButtons_[level], level);
        levelRow->addWidget(levelButtons_[level]);
    }
    levelButtons_[0]->setChecked(true);
    levelButtons_[2]->hide();
    connect(levelGroup_, &QButtonGroup::idClicked, this, &CVelterraView::ChooseContentLevel);

    auto* right = new QVBoxLayout;
    right->addLayout(lampBox);
    right->addWidget(levels);
    auto* top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addLayout(right);

    filter_ = new QLineEdit(this);
    filter_->setPlaceholderText(Text(ViewText::kFilterPlaceholder));
    filter_->setClearButtonEnabled(true);
    filter_->installEventFilter(this);
    connect(filter_, &QLineEdit::textChanged, this, [this] {
        if (list_->IsEditing()) list_->CancelEdit();
        Rebuild(shownBlocks_);
    });

    list_ = new CEditListCtrl(this);
    model_ = new ParameterListModel(lines_, this);
    list_->setModel(model_);
    list_->setItemDelegate(new ParameterListDelegate(list_));
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list_->SetValidator([this](int row, const std::string& text, bool& keepTyping) {
        return ValidateValueText(row, text, keepTyping);
    });
    connect(list_, &CEditListCtrl::valueCommitted, this,
            [this](int row, const QString& text) { CommitValueEdit(row, text.toStdString()); });
    connect(list_, &CEditListCtrl::editClosed, this, &CVelterraView::HideSlider);
    connect(list_, &CEditListCtrl::rowKeyPressed, this, &CVelterraView::OnRowKey);
    connect(list_, &CEditListCtrl::cellPressed, this, &CVelterraView::OnCellPressed);
    connect(list_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() == ParameterList::kValueColumn) BeginValueEdit(index.row());
    });

    slider_ = new QSlider(Qt::Horizontal, this);
    // The slider never takes the focus from the edit it drives.
    slider_->setFocusPolicy(Qt::NoFocus);
    connect(slider_, &QSlider::valueChanged, this, &CVelterraView::OnSliderMoved);
    minLabel_ = new QLabel(Text(ViewText::kMinValue), this);
    maxLabel_ = new QLabel(Text(ViewText::kMaxValue), this);
    maxLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* sliderLabels = new QHBoxLayout;
    sliderLabels->addWidget(minLabel_);
    sliderLabels->addStretch();
    sliderLabels->addWidget(maxLabel_);
    // The slider row keeps its height while hidden, so the list does not jump when an edit
    // starts.
    for (QWidget* widget : {static_cast<QWidget*>(slider_), static_cast<QWidget*>(minLabel_),
                            static_cast<QWidget*>(maxLabel_)}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }

    progress_ = new QProgressBar(this);
    progress_->setFormat(Text(ViewText::kRefreshProgress));
    progress_->hide();

    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log_->setMaximumBlockCount(0);  // the log keeps every line until it is cleared
    log_->setFixedHeight(log_->fontMetrics().lineSpacing() * kLogVisibleLines +
                         2 * log_->frameWidth() + 8);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(filter_);
    layout->addWidget(list_, 1);
    layout->addWidget(slider_);
    layout->addLayout(sliderLabels);
    layout->addWidget(progress_);
    layout->addWidget(new QLabel(Text(ViewText::kErrorList), this));
    layout->addWidget(log_);
    HideSlider();
}

bool CVelterraView::OnGuiThread() const {
    return QThread::currentThread() == thread();
}

void CVelterraView::OnInitialUpdate() {
    if (doc_.LedThread() == nullptr && !doc_.StartLedThread()) {
        // Through the document's user interface when there is one, like its other boxes.
        if (IUserInterface* ui = doc_.UserInterface()) {
            ui->ShowMessage(ViewText::kLedDisabled, MessageKind::Warning);
        } else {
            QMessageBox::warning(this, QApplication::applicationName(),
                                 Text(ViewText::kLedDisabled));
        }
    }
    if (!initialised_) {
        QFont font = list_->font();
        if (font.pixelSize() > 0) {
            font.setPixelSize(font.pixelSize() * 3 / 2);
        } else {
            font.setPointSize(font.pointSize() * 3 / 2);
        }
        list_->setFont(font);
        list_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
        list_->SizeColumns();
        AdminButton()->hide();
        initialised_ = true;
    }
    HideSlider();
}

void CVelterraView::OnDocumentUpdate(int hint, const BlockArray* blocks,
                                     const std::string& message) {
    if (OnGuiThread()) {
        OnUpdate(hint, blocks, message);
        return;
    }
    // From the LED thread's refresh: the blocks are the document's own array, which outlives
    // the queued call; the message is this call's copy.
    QMetaObject::invokeMethod(
        this, [this, hint, blocks, message] { OnUpdate(hint, blocks, message); },
        Qt::QueuedConnection);
}

void CVelterraView::OnUpdate(int hint, const BlockArray* blocks, const std::string& message) {
    switch (hint) {
        case UpdateHint::kValuesChanged:
            Rebuild(blocks);
            break;
        case UpdateHint::kConnectionChanged:
            ShowPortFields();
            break;
        case UpdateHint::kLogMessage:
            AppendLog(message);
            break;
        case UpdateHint::kCloseLutEditor:
            if (lutEditor_) {
                lutEditor_->close();
                lutEditor_->deleteLater();
                lutEditor_ = nullptr;
            }
            break;
        case UpdateHint::kFinishEditing:
            list_->CancelEdit();
            break;
        default:
            break;
    }
}

void CVelterraView::OnRefreshProgress(int done, int total) {
    if (!OnGuiThread()) {
        // The LED thread's refresh: the window's thread is free and paints by itself.
        QMetaObject::invokeMethod(
            this, [this, done, total] { ShowProgress(done, total); }, Qt::QueuedConnection);
        return;
    }
    ShowProgress(done, total);
    // A refresh on this thread lets the window paint between its exchanges; the user's input
    // waits, and the timer's ticks are refused until it ends (see OnTimer).
    const bool running = total > 0 && done < total;
    refreshing_ = running;
    if (running) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CVelterraView::ShowProgress(int done, int total) {
    const bool running = total > 0 && done < total;
    progress_->setRange(0, std::max(total, 1));
    progress_->setValue(done);
    progress_->setVisible(running);
}

bool CVelterraView::Filtering() const {
    return !filter_->text().isEmpty();
}

void CVelterraView::Rebuild(const BlockArray* blocks) {
    // A rebuild moves the lines under an open editor: it ends without a commit.
    list_->CancelEdit();
    shownBlocks_ = blocks;
    const int scroll = list_->verticalScrollBar()->value();
    list_->setUpdatesEnabled(false);
    if (blocks != nullptr) {
        // A refresh on the LED thread stores value texts meanwhile; it lets this copy in
        // between two of its reads. While filtering, the rows of collapsed groups are searched.
        std::lock_guard table(doc_.TableLock);
        lines_.Rebuild(*blocks, m_nContentLevel, Filtering());
    } else {
        lines_.Clear();
    }
    if (Filtering()) {
        model_->Reset(FilterParameterLines(lines_, filter_->text().toStdString()), true);
    } else {
        model_->ResetAll();
    }
    list_->SizeColumns();
    list_->setUpdatesEnabled(true);
    list_->verticalScrollBar()->setValue(scroll);
}

void CVelterraView::ShowPortFields() {
    const int index = doc_.PortIndex;
    if (index < 0) {
        portField_->clear();
        portTypeField_->setText(QString::fromStdString(doc_.NoPortText));
    } else {
        portField_->setText(QString::fromStdString(PortSlot::Name(index)));
        portTypeField_->setText(
            Text(index >= PortSlot::kFirstComSlot ? ViewText::kRs232 : ViewText::kCameraLink));
    }
    modelField_->setText(QString::fromStdString(doc_.ModelName));
}

void CVelterraView::AppendLog(const std::string& message) {
    if (message.empty()) {
        log_->clear();
        return;
    }
    log_->appendPlainText(QString::fromStdString(
        FormatText(ViewText::kLogLineFormat, LocalTimeOfDay().c_str(), message.c_str())));
    log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
}

void CVelterraView::PaintLedLamp() {
    if (!OnGuiThread()) {
        QMetaObject::invokeMethod(
            this, [this] { PaintLedLamp(); }, Qt::QueuedConnection);
        return;
    }
    lamp_->repaint();
    UpdateBusyCursor();
}

void CVelterraView::UpdateBusyCursor() {
    if (doc_.NotResponding) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
}

void CVelterraView::StartPollTimer(int periodMs) {
    if (!OnGuiThread()) {
        QMetaObject::invokeMethod(
            this, [this, periodMs] { StartPollTimer(periodMs); }, Qt::QueuedConnection);
        return;
    }
    timer1_.start(periodMs);
}

void CVelterraView::OnTimer() {
    if (refreshing_) return;
    if (settle_.Tick(doc_) == SettleTimer::Next::Stop) timer1_.stop();
    UpdateBusyCursor();
}

void CVelterraView::ChooseContentLevel(int level) {
    if (level < kBasicLevel || level > kAdminLevel) return;
    m_nContentLevel = level;
    if (!levelButtons_[level]->isChecked()) levelButtons_[level]->setChecked(true);
    list_->CancelEdit();
    if (!doc_.Blocks.empty()) doc_.UpdateAllViews(UpdateHint::kValuesChanged, &doc_.Blocks);
}

void CVelterraView::ShowAdminLevel() {
    AdminButton()->show();
}

void CVelterraView::DropAdminLevel() {
    if (AdminButton()->isChecked()) ChooseContentLevel(kBasicLevel);
    AdminButton()->hide();
}

void CVelterraView::OpenLutEditor() {
    if (!lutEditor_ && lutFactory_) lutEditor_ = lutFactory_(doc_, this);
    if (!lutEditor_) return;
    lutEditor_->show();
    lutEditor_->raise();
    lutEditor_->activateWindow();
}

std::optional<ParameterListRow> CVelterraView::RowAt(int row) const {
    return model_->RowAt(row);
}

const CommandInfo* CVelterraView::CommandAt(int row) const {
    const auto line = RowAt(row);
    if (!line || line->IsGroup()) return nullptr;
    return CommandOfRow(doc_.Blocks, *line);
}

void CVelterraView::BeginValueEdit(int row) {
    const CommandInfo* command = CommandAt(row);
    const ValueEditShape shape = ValueEditorFor(command);
    const int column = ParameterList::kValueColumn;
    const int maxLength = static_cast<int>(shape.maxLength);
    switch (shape.editor) {
        case ValueEditor::List:
            list_->BeginComboEdit(row, column, shape.choices);
            break;
        case ValueEditor::Text:
            list_->BeginEdit(row, column, maxLength);
            break;
        case ValueEditor::Number: {
            {
                const QSignalBlocker quiet(slider_);
                slider_->setRange(0, static_cast<int>(SliderRangeMax(*command)));
            }
            std::string text;
            if (!list_->BeginEdit(row, column, maxLength, &text)) break;
            {
                const QSignalBlocker quiet(slider_);
                const auto value = static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
                slider_->setValue(static_cast<int>(SliderPositionOf(*command, value)));
            }
            slider_->show();
            maxLabel_->setText(Text(ViewText::kMaxPrefix) + QString::number(command->Max));
            maxLabel_->show();
            minLabel_->setText(
                QString::fromStdString(FormatText(ViewText::kMinFormat, command->Min)));
            minLabel_->show();
            break;
        }
        case ValueEditor::None:
            break;
    }
}

bool CVelterraView::ValidateValueText(int row, const std::string& text, bool& belowMin) {
    belowMin = false;
    const CommandInfo* command = CommandAt(row);
    if (command == nullptr) return false;
    const ValueTextCheck check = velterra::ValidateValueText(command, text);
    if (check.sliderPosition) {
        const QSignalBlocker quiet(slider_);
        slider_->setValue(static_cast<int>(*check.sliderPosition));
    }
    belowMin = check.belowMin;
    return check.accepted;
}

void CVelterraView::CommitValueEdit(int row, const std::string& text) {
    const auto line = model_->ListRowAt(row);
    if (!line) return;
    velterra::CommitValueEdit(doc_, lines_, *line, text);
    // The edited line and the line period / exposure time pair may show new values.
    model_->LineChanged(*line);
    model_->LineChanged(kLinePeriodListRow);
    model_->LineChanged(kExposureTimeListRow);
}

void CVelterraView::OnSliderMoved(int position) {
    const CommandInfo* command = CommandAt(list_->EditRow());
    if (command == nullptr || !slider_->isVisible()) return;
    list_->SetEditNumber(SliderValueAt(*command, static_cast<uint32_t>(position)));
}

void CVelterraView::HideSlider() {
    slider_->hide();
    minLabel_->hide();
    maxLabel_->hide();
}

void CVelterraView::OnCellPressed(int row, int column, QPoint inCell, int cellHeight) {
    list_->EndEdit(true);
    HideSlider();
    const auto line = RowAt(row);
    // While filtering every group shows its matches: the boxes do not toggle.
    if (!line || !line->IsGroup() || column != ParameterList::kNameColumn || Filtering()) return;
    if (ParameterListDelegate::HitsGroupBox(inCell, cellHeight)) {
        doc_.ToggleBlock(static_cast<unsigned>(line->block));
    }
}

void CVelterraView::OnRowKey(int key, int row) {
    const auto line = RowAt(row);
    if (!line) return;
    if (!line->IsGroup()) {
        if (key == CEditListCtrl::kKeyEnter) BeginValueEdit(row);
        return;
    }
    if (Filtering()) return;
    const bool expanded = doc_.Blocks[static_cast<std::size_t>(line->block)].Expanded;
    if ((key == CEditListCtrl::kKeyLeft && expanded) ||
        (key == CEditListCtrl::kKeyRight && !expanded)) {
        doc_.ToggleBlock(static_cast<unsigned>(line->block));
        list_->setCurrentIndex(model_->index(row, 0));
    }
}

void CVelterraView::OnFocusChanged(QWidget* /*old*/, QWidget* now) {
    if (!list_->IsEditing() || now == nullptr || now->window() != window()) return;
    if (now == list_ || IsWithin(now, list_->EditBox()) || IsWithin(now, list_->ChoiceBox())) {
        return;
    }
    if (now == portField_ || now == portTypeField_ || now == modelField_ || IsWithin(now, log_)) {
        list_->CancelEdit();
        return;
    }
    // Anywhere else in the window: the edit is done.
    list_->EndEdit(true);
    HideSlider();
}

bool CVelterraView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filter_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        filter_->clear();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velterra
