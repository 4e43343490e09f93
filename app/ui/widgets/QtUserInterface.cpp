#include "QtUserInterface.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QThread>

#include "FrameView.h"
#include "MainFrame.h"
#include "core/CoreTexts.h"
#include "core/FormatText.h"
#include "ui/FileDialogFilter.h"
#include "ui/UiTexts.h"

namespace velterra {

namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Information:
            return QMessageBox::Information;
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Question:
            return QMessageBox::Question;
        case MessageKind::Plain:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QtUserInterface::QtUserInterface(CMainFrame& frame) : frame_(frame) {}

QtUserInterface::~QtUserInterface() {
    // A wait cursor still pushed belongs to an operation that can no longer end it.
    while (waitCursorDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --waitCursorDepth_;
    }
}

bool QtUserInterface::OnWindowThread() const {
    return QThread::currentThread() == thread();
}

void QtUserInterface::Post(std::function<void()> work) {
    if (OnWindowThread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void QtUserInterface::Call(const std::function<void()>& work) {
    if (OnWindowThread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
}

void QtUserInterface::ShowMessage(const std::string& text, MessageKind kind) {
    Call([&] {
        QMessageBox box(IconOf(kind), QString::fromUtf8(CoreText::kApplicationTitle),
                        QString::fromStdString(text), QMessageBox::Ok, &frame_);
        box.exec();
    });
}

void QtUserInterface::SetWaitCursor(bool on) {
    Post([this, on] { ApplyWaitCursor(on); });
}

void QtUserInterface::ApplyWaitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++waitCursorDepth_;
    } else if (waitCursorDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --waitCursorDepth_;
    }
}

void QtUserInterface::StartPollTimer(int periodMs) {
    Post([this, periodMs] {
        if (IFrameView* view = frame_.FirstView()) view->StartPollTimer(periodMs);
    });
}

void QtUserInterface::RepaintLamp() {
    // The lamp and the busy cursor read the document's flags when they are drawn.
    Post([this] {
        frame_.UpdateBusyCursor();
        if (IFrameView* view = frame_.FirstView()) view->RepaintLamp();
    });
}

bool QtUserInterface::RunWindowCommand(int commandId) {
    bool ran = false;
    Call([&] { ran = frame_.RunCommand(commandId); });
    return ran;
}

OpenCameraResult QtUserInterface::RunOpenCameraDialog(CVelterraDoc& doc) {
    OpenCameraResult result;
    Call([&] {
        if (openCamera_) {
            result = openCamera_(doc);
        } else {
            ShowMessage(FormatText(UiText::kNotAvailableYet, UiText::kOpenCameraDialog),
                        MessageKind::Information);
        }
    });
    return result;
}

bool QtUserInterface::RunPixelSetDialog(OnePixelRequest& request) {
    bool accepted = false;
    Call([&] {
        if (pixelSet_) {
            accepted = pixelSet_(request);
        } else {
            ShowMessage(FormatText(UiText::kNotAvailableYet, UiText::kPixelSetDialog),
                        MessageKind::Information);
        }
    });
    return accepted;
}

std::optional<std::string> QtUserInterface::AskOpenFileName(const FileDialogRequest& request) {
    return AskFileName(request, false);
}

std::optional<std::string> QtUserInterface::AskSaveFileName(const FileDialogRequest& request) {
    return AskFileName(request, true);
}

std::optional<std::string> QtUserInterface::AskFileName(const FileDialogRequest& request,
                                                        bool save) {
    std::optional<std::string> chosen;
    Call([&] {
        QFileDialog dialog(&frame_);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setDirectory(QDir::currentPath());
        QStringList filters;
        for (const std::string& filter : FileDialogFilters(request.filter)) {
            filters.push_back(QString::fromStdString(filter));
        }
        if (!filters.isEmpty()) dialog.setNameFilters(filters);
        if (!request.defaultExtension.empty()) {
            dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
        }
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().front().toStdString();
        }
    });
    return chosen;
}

void QtUserInterface::ResetCommandMenus() {
    Call([this] { frame_.ResetCommandMenus(); });
}

void QtUserInterface::LoadBasicCommands(const std::string& menuDatabase) {
    Call([&] { frame_.LoadCommandPopup(CommandPopup::Basic, menuDatabase); });
}

void QtUserInterface::LoadAdvancedCommands(const std::string& menuDatabase) {
    Call([&] { frame_.LoadCommandPopup(CommandPopup::Advanced, menuDatabase); });
}

void QtUserInterface::LoadPasswordCommands(const std::string& menuDatabase) {
    Call([&] { frame_.LoadCommandPopup(CommandPopup::Password, menuDatabase); });
}

}  // namespace velterra
