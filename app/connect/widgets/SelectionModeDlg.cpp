#include "SelectionModeDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "connect/ConnectTexts.h"
#include "connect/SelectionMode.h"
#include "ui/widgets/WidgetText.h"

namespace velterra {

namespace {

constexpr int kTreeItemRole = Qt::UserRole;

}  // namespace

CSelectionModeDlg::CSelectionModeDlg(SelectionMode& selection, QWidget* parent)
    : QDialog(parent),
      selection_(selection),
      baudList_(new QComboBox(this)),
      cardList_(new QComboBox(this)),
      portTree_(new QTreeWidget(this)),
      radios_(new QButtonGroup(this)) {
    setWindowTitle(Text(ConnectText::kSelectionModeTitle));

    for (const char* rate : SelectionMode::kBaudRates) baudList_->addItem(Text(rate));
    baudList_->setCurrentIndex(selection_.SelectedBaud());
    connect(baudList_, &QComboBox::currentIndexChanged, this,
            [this](int index) { selection_.SelectBaud(index); });

    for (const std::string& card : selection_.Cards()) {
        cardList_->addItem(QString::fromStdString(card));
    }
    cardList_->setCurrentIndex(selection_.SelectedCard());
    connect(cardList_, &QComboBox::currentIndexChanged, this,
            [this](int index) { selection_.SelectCard(index); });

    BuildTree();

    const struct {
        const char* text;
        SelectionMode::Radio choice;
    } radios[] = {{ConnectText::kSearchAllRadio, SelectionMode::kSearchAll},
                  {ConnectText::kForceOneRadio, SelectionMode::kForceOne},
                  {ConnectText::kListSearchedRadio, SelectionMode::kListSearched}};
    for (const auto& radio : radios) {
        auto* button = new QRadioButton(Text(radio.text), this);
        radios_->addButton(button, radio.choice);
    }
    Radio(SelectionMode::kListSearched)->setEnabled(selection_.ListSearchedEnabled());
    connect(radios_, &QButtonGroup::idClicked, this, [this](int id) {
        selection_.ChooseRadio(static_cast<SelectionMode::Radio>(id));
        ShowRadio();
    });
    ShowRadio();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(Text(ConnectText::kOkButton));
    buttons->button(QDialogButtonBox::Cancel)->setText(Text(ConnectText::kCancelButton));
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectionModeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectionModeDlg::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(Text(ConnectText::kBaudRateLabel), this), 0, 0);
    grid->addWidget(baudList_, 0, 1);
    grid->addWidget(Radio(SelectionMode::kSearchAll), 1, 0, 1, 2);
    grid->addWidget(Radio(SelectionMode::kForceOne), 2, 0, 1, 2);
    grid->addWidget(portTree_, 3, 0, 1, 2);
    grid->addWidget(new QLabel(Text(ConnectText::kCardLabel), this), 4, 0, 1, 2);
    grid->addWidget(cardList_, 5, 0, 1, 2);
    grid->addWidget(Radio(SelectionMode::kListSearched), 6, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void CSelectionModeDlg::BuildTree() {
    portTree_->setHeaderHidden(true);
    portTree_->setColumnCount(1);
    QTreeWidgetItem* root = nullptr;
    for (int item = 0; item < SelectionMode::kTreeItemCount; ++item) {
        const QStringList text{Text(SelectionMode::TreeItemText(item))};
        auto* node = SelectionMode::TreeItemParent(item) == SelectionMode::kNoTreeItem
                         ? (root = new QTreeWidgetItem(portTree_, text))
                         : new QTreeWidgetItem(root, text);
        node->setData(0, kTreeItemRole, item);
    }
    portTree_->expandAll();
    portTree_->setCurrentItem(nullptr);
    connect(portTree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OnTreeItemChanged(current); });
}

void CSelectionModeDlg::OnTreeItemChanged(QTreeWidgetItem* current) {
    selection_.SelectTreeItem(current != nullptr ? current->data(0, kTreeItemRole).toInt()
                                                 : SelectionMode::kNoTreeItem);
    ShowRadio();  // a port leaf chooses the forced mode
}

void CSelectionModeDlg::ShowRadio() {
    if (QAbstractButton* button = radios_->button(selection_.RadioChoice)) {
        button->setChecked(true);
    }
}

QRadioButton* CSelectionModeDlg::Radio(int choice) const {
    return static_cast<QRadioButton*>(radios_->button(choice));
}

QTreeWidgetItem* CSelectionModeDlg::TreeItem(int item) const {
    for (QTreeWidgetItemIterator it(portTree_); *it != nullptr; ++it) {
        if ((*it)->data(0, kTreeItemRole).toInt() == item) return *it;
    }
    return nullptr;
}

void CSelectionModeDlg::accept() {
    // The refusals show their message through the selection; the dialog stays open then.
    if (selection_.AcceptSelection()) QDialog::accept();
}

}  // namespace velterra
