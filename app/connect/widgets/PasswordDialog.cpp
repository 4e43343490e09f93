#include "PasswordDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "connect/AccessCode.h"
#include "connect/ConnectTexts.h"
#include "core/UserInterface.h"

namespace velterra {

CPasswordDialog::CPasswordDialog(bool& accessGranted, IUserInterface& ui, QWidget* parent)
    : QDialog(parent), accessGranted_(accessGranted), ui_(ui), edit_(new QLineEdit(this)) {
    setWindowTitle(QString::fromUtf8(ConnectText::kPasswordTitle));
    edit_->setObjectName(QStringLiteral("edit%1").arg(kIdPasswordEdit));
    edit_->setEchoMode(QLineEdit::Password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPasswordDialog::CheckPassword);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(ConnectText::kEnterPassword), this));
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    edit_->setFocus();
}

void CPasswordDialog::CheckPassword() {
    if (AccessCodeMatches(edit_->text().toStdString())) {
        accessGranted_ = true;
    } else {
        ui_.ShowMessage(ConnectText::kIncorrectPassword, MessageKind::Plain);
    }
    accept();
}

}  // namespace velterra
