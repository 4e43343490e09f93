#include "PixelSetDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "connect/ConnectTexts.h"
#include "core/UserInterface.h"
#include "ui/widgets/WidgetText.h"

namespace velterra {

CPixelSetDialog::CPixelSetDialog(OnePixelRequest& request, IUserInterface& ui, QWidget* parent)
    : QDialog(parent),
      model_(request),
      ui_(ui),
      fpn_(Named(new QRadioButton(Text(ConnectText::kFpnRadio), this), kIdFpn)),
      prnu_(Named(new QRadioButton(Text(ConnectText::kPrnuRadio), this), kIdPrnu)),
      pixel_(Named(new QLineEdit(this), kIdPixelEdit)),
      value_(Named(new QLineEdit(this), kIdValueEdit)),
      set_(Named(new QPushButton(Text(ConnectText::kSetButton), this), kIdSet)) {
    setWindowTitle(Text(ConnectText::kPixelSetTitle));
    fpn_->setChecked(true);
    connect(fpn_, &QRadioButton::clicked, this, [this] { model_.ChooseFpn(); });
    connect(prnu_, &QRadioButton::clicked, this, [this] { model_.ChoosePrnu(); });
    connect(set_, &QPushButton::clicked, this, &CPixelSetDialog::StorePixelEntry);
    // A request stored before is shown again, so OK without "Set" visibly sends that one.
    if (request.PixelNumber != 0) {
        pixel_->setText(QString::number(static_cast<long long>(request.PixelNumber) - 1));
        value_->setText(QString::number(request.Value));
    }

    auto* kinds = new QHBoxLayout;
    kinds->addWidget(fpn_);
    kinds->addWidget(prnu_);
    kinds->addStretch();
    auto* entries = new QGridLayout;
    entries->addWidget(new QLabel(Text(ConnectText::kPixelNumberLabel), this), 0, 0);
    entries->addWidget(pixel_, 0, 1);
    entries->addWidget(new QLabel(Text(ConnectText::kPixelValueLabel), this), 1, 0);
    entries->addWidget(value_, 1, 1);
    entries->addWidget(set_, 0, 2, 2, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // Enter in an edit is "Set", not OK: the entry is stored and the dialog stays.
    set_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kinds);
    layout->addLayout(entries);
    layout->addWidget(buttons);
    pixel_->setFocus();
}

void CPixelSetDialog::StorePixelEntry() {
    const std::string warning =
        model_.StorePixelEntry(pixel_->text().toStdString(), value_->text().toStdString());
    if (!warning.empty()) ui_.ShowMessage(warning, MessageKind::Plain);
}

bool CPixelSetDialog::Run(OnePixelRequest& request, IUserInterface& ui, QWidget* parent) {
    CPixelSetDialog dialog(request, ui, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace velterra
