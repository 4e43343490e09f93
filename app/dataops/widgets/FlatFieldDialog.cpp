#include "FlatFieldDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "dataops/DataOpsTexts.h"

namespace velterra {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString IdName(int id) {
    return QString::number(id);
}

}  // namespace

CFlatFieldDialog::CFlatFieldDialog(CVelterraDoc& doc, int pollLimit, QWidget* parent)
    : QDialog(parent), functions_(doc), wizard_(functions_, pollLimit) {
    setWindowTitle(QString::fromUtf8(DataOpsText::kFlatFieldTitle));
    setModal(true);

    text_ = new QLabel(this);
    text_->setObjectName(IdName(kIdText));
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setWordWrap(true);
    text_->setMinimumSize(280, 76);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(IdName(kIdProgress));
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    // The dialog keeps its size when the bar comes and goes.
    QSizePolicy keep = progress_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    progress_->setSizePolicy(keep);

    skip_ = new QPushButton(QString::fromUtf8(DataOpsText::kFlatFieldSkip), this);
    skip_->setObjectName(IdName(kIdSkip));
    skip_->setAutoDefault(false);
    next_ = new QPushButton(this);
    next_->setObjectName(IdName(kIdNext));
    next_->setDefault(true);
    cancel_ = new QPushButton(QString::fromUtf8(DataOpsText::kFlatFieldCancel), this);
    cancel_->setObjectName(IdName(kIdCancel));
    cancel_->setAutoDefault(false);
    for (QPushButton* button : {skip_, next_, cancel_}) {
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        button->setSizePolicy(policy);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(skip_);
    buttons->addWidget(next_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(next_, &QPushButton::clicked, this, &CFlatFieldDialog::OnNext);
    connect(skip_, &QPushButton::clicked, this, &CFlatFieldDialog::OnSkip);
    connect(cancel_, &QPushButton::clicked, this, &CFlatFieldDialog::reject);
    pause_.setSingleShot(true);
    connect(&pause_, &QTimer::timeout, this, [this] {
        wizard_.Resume();
        Show();
        Drive();
    });
    Show();
}

CFlatFieldDialog::~CFlatFieldDialog() {
    // The probe touches the wizard; it ends within its exchange's time limit.
    if (probe_.joinable()) probe_.join();
}

void CFlatFieldDialog::Show() {
    const FlatFieldWizard::Display& shown = wizard_.Shown();
    text_->setText(Text(shown.text));
    progress_->setValue(shown.progress);
    progress_->setVisible(shown.progressShown);
    next_->setText(Text(shown.nextCaption));
    next_->setVisible(shown.nextShown);
    skip_->setVisible(shown.skipShown);
    cancel_->setVisible(shown.cancelShown);
}

void CFlatFieldDialog::OnNext() {
    wizard_.Next();
    Show();
    if (wizard_.Result() == FlatFieldWizard::Outcome::Finished) {
        accept();
        return;
    }
    Drive();
}

void CFlatFieldDialog::OnSkip() {
    wizard_.Skip();
    Show();
}

void CFlatFieldDialog::Drive() {
    switch (wizard_.Pending()) {
        case FlatFieldWizard::Due::Nothing:
            return;
        case FlatFieldWizard::Due::Pause:
            pause_.start(wizard_.PauseMs());
            return;
        case FlatFieldWizard::Due::Probe:
            if (probe_.joinable()) return;  // one probe at a time
            probe_ = std::thread([this] {
                wizard_.Probe();
                // Dropped by Qt if the dialog is gone by then; the destructor joins first.
                QMetaObject::invokeMethod(this, &CFlatFieldDialog::OnProbeDone,
                                          Qt::QueuedConnection);
            });
            return;
    }
}

void CFlatFieldDialog::OnProbeDone() {
    if (probe_.joinable()) probe_.join();
    if (closeAfterProbe_) {
        QDialog::reject();
        return;
    }
    wizard_.Resume();
    Show();
    Drive();
}

void CFlatFieldDialog::reject() {
    pause_.stop();
    wizard_.Cancel();
    if (!probe_.joinable()) {
        QDialog::reject();
        return;
    }
    // The wait has stopped; the dialog goes once the exchange under way has ended.
    closeAfterProbe_ = true;
    for (QPushButton* button : {skip_, next_, cancel_}) button->setEnabled(false);
}

void RunFlatFieldWizard(CVelterraDoc& doc, QWidget* parent) {
    bool number = false;
    int pollLimit = QSettings().value(kFlatFieldPollLimitKey).toInt(&number);
    if (!number) pollLimit = FlatFieldWizard::kDefaultPollLimit;
    CFlatFieldDialog dialog(doc, pollLimit, parent);
    dialog.exec();
}

}  // namespace velterra
