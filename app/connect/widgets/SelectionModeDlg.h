#pragma once
#include <QDialog>

class QButtonGroup;
class QComboBox;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velterra {

class SelectionMode;

// "Selection Mode for CL/COM Ports": shows a SelectionMode and forwards the user's choices to
// it; OK closes the dialog only when its AcceptSelection agrees.
class CSelectionModeDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CSelectionModeDlg(SelectionMode& selection, QWidget* parent = nullptr);

    void accept() override;

    // The controls, for the tests.
    QComboBox* BaudList() const { return baudList_; }
    QComboBox* CardList() const { return cardList_; }
    QTreeWidget* PortTree() const { return portTree_; }
    QRadioButton* Radio(int choice) const;
    // The tree item of a SelectionMode::TreeItem.
    QTreeWidgetItem* TreeItem(int item) const;

  private:
    void BuildTree();
    void OnTreeItemChanged(QTreeWidgetItem* current);
    void ShowRadio();

    SelectionMode& selection_;
    QComboBox* baudList_;
    QComboBox* cardList_;
    QTreeWidget* portTree_;
    QButtonGroup* radios_;
};

}  // namespace velterra
