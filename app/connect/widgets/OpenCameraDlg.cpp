#include "OpenCameraDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <string>

#include "SelectionModeDlg.h"
#include "connect/ConnectTexts.h"
#include "connect/SelectionMode.h"
#include "core/FormatText.h"
#include "core/PortSlot.h"
#include "core/VelterraDoc.h"
#include "ui/widgets/WidgetText.h"

namespace velterra {

COpenCameraDlg::COpenCameraDlg(CVelterraDoc& doc, QWidget* parent, ProbeTable& table)
    : QDialog(parent),
      model_(doc, table),
      relay_(doc.UserInterface(), this),
      portList_(new QTableWidget(0, 3, this)),
      progressLabel_(new QLabel(this)),
      progressBar_(new QProgressBar(this)),
      openButton_(new QPushButton(Text(ConnectText::kOpenPortButton), this)),
      closeButton_(new QPushButton(Text(ConnectText::kClosePortButton), this)),
      selectionButton_(new QPushButton(Text(ConnectText::kSelectionModeButton), this)),
      okButton_(new QPushButton(Text(ConnectText::kOkButton), this)),
      cancelButton_(new QPushButton(Text(ConnectText::kCancelButton), this)) {
    setWindowTitle(Text(ConnectText::kOpenCameraTitle));
    model_.SetListener(this);
    model_.SetUserInterface(&relay_);
    selectionRunner_ = [this](SelectionMode& selection) {
        CSelectionModeDlg dialog(selection, this);
        return dialog.exec() == QDialog::Accepted;
    };

    portList_->setHorizontalHeaderLabels({Text(ConnectText::kPortColumn),
                                          Text(ConnectText::kStatusColumn),
                                          Text(ConnectText::kRemoteDeviceColumn)});
    portList_->verticalHeader()->hide();
    portList_->setShowGrid(true);
    portList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    portList_->setSelectionMode(QAbstractItemView::SingleSelection);
    portList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    portList_->horizontalHeader()->setStretchLastSection(true);
    portList_->installEventFilter(this);
    connect(portList_, &QTableWidget::itemSelectionChanged, this,
            &COpenCameraDlg::OnSelectionChanged);
    connect(portList_, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        model_.ClickRow(row);
        if (model_.Buttons().Open) {
            RunInBackground([this, row] {
                model_.DoubleClickRow(row);
                return OpenCameraModel::Outcome::Stay;
            });
        }
    });

    openButton_->setDefault(true);
    connect(openButton_, &QPushButton::clicked, this, [this] {
        RunInBackground([this] {
            model_.OpenSelectedPort();
            return OpenCameraModel::Outcome::Stay;
        });
    });
    connect(closeButton_, &QPushButton::clicked, this, [this] {
        RunInBackground([this] {
            model_.CloseSelectedPort();
            return OpenCameraModel::Outcome::Stay;
        });
    });
    connect(selectionButton_, &QPushButton::clicked, this, [this] {
        RunInBackground([this] {
            return model_.SelectionModeClicked(
                [this](SelectionMode& selection) { return RunSelectionMode(selection); });
        });
    });
    connect(okButton_, &QPushButton::clicked, this, [this] {
        if (model_.Accept() == OpenCameraModel::Outcome::Ok) {
            outcome_ = OpenCameraModel::Outcome::Ok;
            QDialog::done(Accepted);
        }
    });
    connect(cancelButton_, &QPushButton::clicked, this, &COpenCameraDlg::reject);

    progressBar_->setRange(0, 0);  // moves while the worker runs, so a live dialog shows it
    progressBar_->setMaximumHeight(progressLabel_->sizeHint().height());
    progressLabel_->hide();
    progressBar_->hide();

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {openButton_, closeButton_, selectionButton_}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* list = new QVBoxLayout;
    list->addWidget(new QLabel(Text(ConnectText::kPortsListLabel), this));
    list->addWidget(portList_);
    auto* progress = new QHBoxLayout;
    progress->addWidget(progressLabel_);
    progress->addWidget(progressBar_, 1);
    list->addLayout(progress);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(list, 1);
    layout->addLayout(buttons);
    resize(560, 320);
    ShowModel();
}

COpenCameraDlg::~COpenCameraDlg() {
    // The worker refers to the model and this dialog; done() refuses to close while it runs,
    // so this only waits for a dialog whose event loop ended from outside (the program told to
    // end). The worker may be waiting for this thread then: it is let go first.
    relay_.Abandon();
    if (worker_.joinable()) worker_.join();
}

OpenCameraResult COpenCameraDlg::Run(CVelterraDoc& doc, QWidget* parent, int forcedSlot,
                                     int32_t baudRate) {
    COpenCameraDlg dialog(doc, parent);
    if (forcedSlot >= 0) dialog.SetForcedStart(forcedSlot, baudRate);
    dialog.exec();
    return dialog.Result();
}

void COpenCameraDlg::SetForcedStart(int slot, int32_t baudRate) {
    forcedSlot_ = slot;
    forcedBaud_ = baudRate > 0 ? baudRate
                               : static_cast<int32_t>(std::stol(
                                     SelectionMode::kBaudRates[SelectionMode::kPreselectedBaud]));
}

QPushButton* COpenCameraDlg::Button(int id) const {
    switch (id) {
        case OpenCameraModel::kOpenPortId:
            return openButton_;
        case OpenCameraModel::kClosePortId:
            return closeButton_;
        case OpenCameraModel::kSelectionModeId:
            return selectionButton_;
        case OpenCameraModel::kOkId:
            return okButton_;
        case OpenCameraModel::kCancelId:
            return cancelButton_;
        default:
            return nullptr;
    }
}

void COpenCameraDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) return;
    started_ = true;
    // After the first paint, so the dialog is on screen behind the Selection Mode dialog.
    QTimer::singleShot(0, this, [this] {
        RunInBackground([this] {
            const auto ask = [this](SelectionMode& selection) {
                return RunSelectionMode(selection);
            };
            return forcedSlot_ >= 0 ? model_.StartForced(forcedSlot_, forcedBaud_, ask)
                                    : model_.Start(ask);
        });
    });
}

bool COpenCameraDlg::RunSelectionMode(SelectionMode& selection) {
    bool accepted = false;
    relay_.RunOnWidgetThread([&] {
        // No port is being probed while the user chooses.
        progressLabel_->hide();
        progressBar_->hide();
        accepted = selectionRunner_ && selectionRunner_(selection);
        progressLabel_->clear();
        progressLabel_->show();
        progressBar_->show();
    });
    return accepted;
}

void COpenCameraDlg::RunInBackground(Work work) {
    if (busy_) return;
    ShowBusy(true);
    worker_ = std::thread([this, work = std::move(work)] {
        const OpenCameraModel::Outcome outcome = work();
        QMetaObject::invokeMethod(
            this, [this, outcome] { Finish(outcome); }, Qt::QueuedConnection);
    });
}

void COpenCameraDlg::Finish(OpenCameraModel::Outcome outcome) {
    worker_.join();
    ShowBusy(false);
    ShowModel();
    if (outcome == OpenCameraModel::Outcome::Ok) {
        outcome_ = outcome;
        QDialog::done(Accepted);
    } else if (outcome == OpenCameraModel::Outcome::Cancel) {
        outcome_ = outcome;
        QDialog::done(Rejected);
    }
}

void COpenCameraDlg::done(int result) {
    if (busy_) return;  // Escape or the title bar's close while a port is being probed
    if (result == Rejected) outcome_ = model_.Cancel();
    QDialog::done(result);
}

void COpenCameraDlg::ShowBusy(bool busy) {
    busy_ = busy;
    for (QPushButton* button : {selectionButton_, cancelButton_}) button->setEnabled(!busy);
    if (busy) {
        for (QPushButton* button : {openButton_, closeButton_, okButton_}) {
            button->setEnabled(false);
        }
    }
    portList_->setEnabled(!busy);
    progressLabel_->setVisible(busy);
    progressBar_->setVisible(busy);
    if (busy) progressLabel_->clear();
}

void COpenCameraDlg::Probing(int slot) {
    QMetaObject::invokeMethod(
        this, [this, slot] { ShowProbing(slot); }, Qt::QueuedConnection);
}

void COpenCameraDlg::ShowProbing(int slot) {
    if (!busy_) return;
    progressLabel_->setText(QString::fromStdString(
        FormatText(ConnectText::kProbingPort, PortSlot::Name(slot).c_str())));
}

void COpenCameraDlg::ShowModel() {
    showingModel_ = true;
    const auto& rows = model_.Rows();
    portList_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const PortRow& line = rows[static_cast<std::size_t>(row)];
        const std::string* texts[] = {&line.Port, &line.Status, &line.RemoteDevice};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(QString::fromStdString(*texts[column]));
            portList_->setItem(row, column, item);
        }
    }
    portList_->clearSelection();
    if (model_.SelectedRow() >= 0) portList_->selectRow(model_.SelectedRow());
    if (fitPending_.exchange(false)) {
        // Each column as wide as the wider of its contents and its header.
        portList_->setUpdatesEnabled(false);
        portList_->resizeColumnsToContents();
        portList_->setUpdatesEnabled(true);
    }
    if (!busy_) {
        const PortButtons& buttons = model_.Buttons();
        openButton_->setEnabled(buttons.Open);
        closeButton_->setEnabled(buttons.Close);
        okButton_->setEnabled(buttons.Ok);
        cancelButton_->setText(Text(model_.CancelCaption()));
    }
    if (focusPending_.exchange(false)) portList_->setFocus();
    showingModel_ = false;
}

void COpenCameraDlg::OnSelectionChanged() {
    if (showingModel_ || busy_) return;
    const QList<QTableWidgetSelectionRange> ranges = portList_->selectedRanges();
    model_.ClickRow(ranges.isEmpty() ? -1 : ranges.first().topRow());
    ShowModel();
}

bool COpenCameraDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == portList_ && event->type() == QEvent::KeyPress && !busy_) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            key == Qt::Key_Up ? model_.KeyUp() : model_.KeyDown();
            ShowModel();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace velterra
