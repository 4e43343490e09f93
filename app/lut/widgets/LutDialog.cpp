#include "lut/widgets/LutDialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "lut/LutTexts.h"
#include "lut/widgets/GreyRamp.h"
#include "lut/widgets/LutView.h"
#include "ui/widgets/WidgetText.h"

namespace velterra {

namespace {

constexpr int kGraphPixels = 280;
constexpr int kRampPixels = 14;

QPushButton* Button(const char* text, int id, QWidget* parent) {
    return Named(new QPushButton(Text(text), parent), id);
}

}  // namespace

CLutDialog::CLutDialog(QWidget* parent)
    : QDialog(parent),
      color_(Named(new QRadioButton(Text(LutTexts::kColor), this), kIdColor)),
      mono_(Named(new QRadioButton(Text(LutTexts::kMono), this), kIdMono)),
      bits_(Named(new QLabel(this), kIdBits)),
      option_(Named(new QComboBox(this), kIdOption)),
      input_(Named(new QLineEdit(this), kIdInput)),
      output_(Named(new QLineEdit(this), kIdOutput)),
      view_(nullptr),
      loadVectors_(Button(LutTexts::kEachTapVectors, kIdLoadVectors, this)),
      optionText_(Named(new QLabel(this), kIdOptionText)),
      note_(Named(new QLabel(Text(LutTexts::kAllTapsNote), this), kIdAllTapsNote)) {
    setWindowTitle(Text(LutTexts::kDialogTitle));
    setModal(false);

    // The mode is the camera's; the user only sees it.
    color_->setEnabled(false);
    mono_->setEnabled(false);
    auto* top = new QHBoxLayout;
    top->addWidget(color_);
    top->addWidget(mono_);
    top->addStretch(1);
    top->addWidget(bits_);
    top->addWidget(new QLabel(Text(LutTexts::kBitsLabel), this));

    auto* fields = new QHBoxLayout;
    fields->addWidget(new QLabel(Text(LutTexts::kOptionLabel), this));
    fields->addWidget(option_, 1);
    fields->addSpacing(8);
    fields->addWidget(new QLabel(Text(LutTexts::kInputLabel), this));
    fields->addWidget(input_);
    fields->addWidget(new QLabel(Text(LutTexts::kOutputLabel), this));
    fields->addWidget(output_);
    for (QLineEdit* field : {input_, output_}) {
        field->setMaximumWidth(64);
        connect(field, &QLineEdit::textEdited, this, &CLutDialog::OnFieldEdited);
    }

    auto* frame = Named(new QFrame(this), kIdImageFrame);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setFixedSize(kGraphPixels + 2, kGraphPixels + 2);
    view_ = new CLutView(model_.View(), frame);
    view_->setGeometry(1, 1, kGraphPixels, kGraphPixels);
    auto* vertical = new GreyRamp(Qt::Vertical, kIdVerticalRamp, this);
    vertical->setFixedSize(kRampPixels, kGraphPixels + 2);
    auto* horizontal = new GreyRamp(Qt::Horizontal, kIdHorizontalRamp, this);
    horizontal->setFixedSize(kGraphPixels + 2, kRampPixels);
    auto* graph = new QGridLayout;
    graph->setSpacing(2);
    graph->addWidget(vertical, 0, 0);
    graph->addWidget(frame, 0, 1);
    graph->addWidget(horizontal, 1, 1);
    auto* graphRow = new QHBoxLayout;
    graphRow->addStretch(1);
    graphRow->addLayout(graph);
    graphRow->addStretch(1);

    auto* curve = new QGroupBox(Text(LutTexts::kCurveGroup), this);
    auto* curveButtons = new QHBoxLayout(curve);
    QPushButton* resetThis = Button(LutTexts::kResetThisOption, kIdResetThis, curve);
    QPushButton* resetAll = Button(LutTexts::kResetAllOptions, kIdResetAll, curve);
    curveButtons->addWidget(resetThis);
    curveButtons->addWidget(resetAll);

    auto* save = new QGroupBox(Text(LutTexts::kSaveGroup), this);
    QPushButton* saveToFile = Button(LutTexts::kEachTapLut, kIdSaveToFile, save);
    (new QVBoxLayout(save))->addWidget(saveToFile);
    auto* load = new QGroupBox(Text(LutTexts::kLoadGroup), this);
    loadVectors_->setParent(load);
    (new QVBoxLayout(load))->addWidget(loadVectors_);

    auto* write = new QGroupBox(Text(LutTexts::kWriteGroup), this);
    auto* writeLayout = new QGridLayout(write);
    QPushButton* writeEach = Button(LutTexts::kEachTapLut, kIdWriteEachTap, write);
    QPushButton* writeOption = Button(LutTexts::kByShownOption, kIdWriteOption, write);
    optionText_->setParent(write);
    note_->setParent(write);
    note_->setWordWrap(true);
    writeLayout->addWidget(writeEach, 0, 0, 1, 2);
    writeLayout->addWidget(writeOption, 1, 0);
    writeLayout->addWidget(optionText_, 1, 1);
    writeLayout->addWidget(note_, 2, 0, 1, 2);

    QPushButton* exit = Button(LutTexts::kExit, kIdExit, this);
    exit->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(exit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(fields);
    layout->addLayout(graphRow);
    layout->addWidget(curve);
    layout->addWidget(save);
    layout->addWidget(load);
    layout->addWidget(write);
    layout->addStretch(1);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(option_, &QComboBox::activated, this, &CLutDialog::OnOptionChosen);
    connect(resetThis, &QPushButton::clicked, this, [this] {
        model_.ResetThisOption();
        ShowSelection();
    });
    connect(resetAll, &QPushButton::clicked, this, [this] { model_.ResetAllOptions(); });
    connect(saveToFile, &QPushButton::clicked, this, [this] {
        if (actions_) actions_->SaveLutToFile();
    });
    connect(loadVectors_, &QPushButton::clicked, this,
            [this] { RunAction(&ILutEditorActions::LoadVectorsFromCamera); });
    connect(writeEach, &QPushButton::clicked, this,
            [this] { RunAction(&ILutEditorActions::WriteEachTapToCamera); });
    connect(writeOption, &QPushButton::clicked, this,
            [this] { RunAction(&ILutEditorActions::WriteOptionToCamera); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    model_.SetOptionsChangedHandler([this] { OnOptionsChanged(); });
    model_.SetCoordinatesHandler([this] { OnCoordinatesShown(); });
    loadVectors_->setEnabled(false);
    OnOptionsChanged();
}

CLutDialog::~CLutDialog() {
    model_.SetOptionsChangedHandler({});
    model_.SetCoordinatesHandler({});
    // The view works on the model, which goes before the base class deletes the children.
    delete view_;
}

void CLutDialog::SetActions(std::unique_ptr<ILutEditorActions> actions) {
    actions_ = std::move(actions);
    loadVectors_->setEnabled(actions_ && actions_->HasVectorSupport());
}

bool CLutDialog::InitLut(bool isColor, int16_t bits, int16_t taps) {
    const bool ok = model_.InitLut(isColor, bits, taps);
    model_.FillOptions();
    return ok;
}

void CLutDialog::OnOptionsChanged() {
    color_->setChecked(model_.ColorMode() == kLutColorModeColor);
    mono_->setChecked(model_.ColorMode() == kLutColorModeMono);
    bits_->setText(model_.HasLut() ? QString::number(model_.Bits()) : QString());
    const QSignalBlocker block(option_);
    option_->clear();
    for (const std::string& text : model_.Options()) option_->addItem(QString::fromStdString(text));
    ShowSelection();
}

void CLutDialog::ShowSelection() {
    const QSignalBlocker block(option_);
    option_->setCurrentIndex(model_.SelectedOption());
    optionText_->setText(QString::fromStdString(model_.SelectedOptionText()));
    note_->setVisible(model_.IsNoteVisible());
    view_->update();
}

void CLutDialog::OnCoordinatesShown() {
    input_->setText(QString::fromStdString(model_.InputText()));
    output_->setText(QString::fromStdString(model_.OutputText()));
}

void CLutDialog::OnFieldEdited() {
    model_.EditCoordinateFields(input_->text().toStdString(), output_->text().toStdString());
}

void CLutDialog::OnOptionChosen(int index) {
    model_.SelectOption(index);
    ShowSelection();
}

void CLutDialog::RunAction(void (ILutEditorActions::*action)()) {
    if (!actions_) return;
    ((*actions_).*action)();
    // Loading the nodes walks the selection through every tap.
    ShowSelection();
}

}  // namespace velterra
