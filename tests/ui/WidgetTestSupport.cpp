#include "WidgetTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardPaths>

#include "connect/widgets/PasswordDialog.h"

namespace velterra {

QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "widget_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        QStandardPaths::setTestModeEnabled(true);
        auto* created = new QApplication(argc, argv);
        QApplication::setOrganizationName(QStringLiteral("VelterraWidgetTests"));
        QApplication::setApplicationName(QStringLiteral("Velterra"));
        return created;
    }();
    return *app;
}

ModalAnswerer::ModalAnswerer() {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::Answer);
    timer_.start(5);
}

void ModalAnswerer::Answer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages.push_back(box->text().toStdString());
        box->accept();
        return;
    }
    if (auto* dialog = qobject_cast<CPasswordDialog*>(modal)) {
        if (answering_ == dialog) return;  // its answer is on the way
        answering_ = dialog;
        ++passwordDialogs;
        if (passwords.empty()) {
            dialog->reject();
            return;
        }
        dialog->PasswordEdit()->setText(passwords.front());
        passwords.pop_front();
        // From the event loop, not from this timer's slot: a box it shows must be answered by
        // this same timer, which does not fire again while its slot runs.
        QMetaObject::invokeMethod(
            dialog, [dialog] { dialog->CheckPassword(); }, Qt::QueuedConnection);
    }
}

}  // namespace velterra
