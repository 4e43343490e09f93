// The Selection Mode dialog: what OK hands back for the clicks a user makes, the two refusals
// that keep it open, and when "List searched ports" can be chosen.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "DialogTestSupport.h"
#include "connect/ConnectTexts.h"
#include "connect/SelectionMode.h"
#include "connect/widgets/SelectionModeDlg.h"

using namespace velterra;
using namespace dialogtest;

namespace {

class SelectionModeDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureApplication();
        clserIni_ = std::filesystem::temp_directory_path() /
                    ("velterra-selection-" + std::to_string(getpid()) + ".ini");
        std::ofstream(clserIni_) << "[DLL]\n0=clsermaker.dll\n1=clserabc.dll\n2=clser.dll\n"
                                    "[clsermaker.dll]\nCaption=Maker card\n";
    }
    void TearDown() override { std::filesystem::remove(clserIni_); }

    static void ClickOk(CSelectionModeDlg& dialog) {
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }

    std::filesystem::path clserIni_;
    RecordingUi ui_;
};

TEST_F(SelectionModeDlgTest, OkHandsBackTheChosenPortOrStaysOpenWithItsMessage) {
    struct Case {
        const char* name;
        int radio;     // clicked first, -1 none
        int treeItem;  // then selected in the tree, kNoTreeItem none
        int card;
        int baudEntry;
        bool closes;
        int slot;  // the forced slot, -1 none
        int32_t baud;
        const char* message;  // nullptr: none
    };
    const Case cases[] = {
        {"search all", -1, SelectionMode::kNoTreeItem, 0, 3, true, -1, 57600, nullptr},
        {"COM4", -1, SelectionMode::kCom4Leaf, 0, 0, true, kCom4, 9600, nullptr},
        {"port1 of card 1", -1, SelectionMode::kPort1Leaf, 1, 4, true, 3, 115200, nullptr},
        {"port0 of card 0", -1, SelectionMode::kPort0Leaf, 0, 3, true, 0, 57600, nullptr},
        {"root only, searching all", -1, SelectionMode::kComRoot, 0, 3, true, -1, 57600, nullptr},
        {"forced, a root", SelectionMode::kForceOne, SelectionMode::kCameraLinkRoot, 0, 3, false,
         -1, 0, ConnectText::kSelectPort},
        {"forced, nothing chosen", SelectionMode::kForceOne, SelectionMode::kNoTreeItem, 0, 3,
         false, -1, 0, ConnectText::kSelectPort},
        {"the error card", -1, SelectionMode::kPort0Leaf, 2, 3, false, -1, 0,
         ConnectText::kChooseEffectiveCard},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SelectionMode selection(&ui_, false, false);
        selection.FillCardList(clserIni_);
        CSelectionModeDlg dialog(selection);
        dialog.show();
        ui_.messages.clear();

        if (c.radio >= 0) dialog.Radio(c.radio)->click();
        if (c.treeItem != SelectionMode::kNoTreeItem) {
            dialog.PortTree()->setCurrentItem(dialog.TreeItem(c.treeItem));
            // A port leaf chooses the forced mode on screen too.
            EXPECT_EQ(dialog.Radio(SelectionMode::kForceOne)->isChecked(),
                      c.radio == SelectionMode::kForceOne ||
                          SelectionMode::TreeItemParent(c.treeItem) != SelectionMode::kNoTreeItem);
        }
        dialog.CardList()->setCurrentIndex(c.card);
        dialog.BaudList()->setCurrentIndex(c.baudEntry);
        ClickOk(dialog);

        EXPECT_EQ(dialog.isVisible(), !c.closes);
        if (c.message != nullptr) {
            EXPECT_EQ(ui_.messages, std::vector<std::string>{c.message});
        } else {
            EXPECT_TRUE(ui_.messages.empty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(selection.ForcedSlot(), c.slot);
            EXPECT_EQ(selection.BaudRate, c.baud);
        }
    }
}

TEST_F(SelectionModeDlgTest, ShowsTheCardsOfClserIniAndTheDefaults) {
    SelectionMode selection(&ui_, true, false);
    selection.FillCardList(clserIni_);
    CSelectionModeDlg dialog(selection);

    QStringList cards;
    for (int i = 0; i < dialog.CardList()->count(); ++i) cards << dialog.CardList()->itemText(i);
    EXPECT_EQ(cards, (QStringList{"Maker card", "clserabc.dll", "(Error Card)"}));
    EXPECT_EQ(dialog.BaudList()->currentText(), "57600");
    EXPECT_TRUE(dialog.Radio(SelectionMode::kSearchAll)->isChecked());
    EXPECT_EQ(dialog.PortTree()->topLevelItemCount(), 2);
    EXPECT_EQ(dialog.windowTitle(), ConnectText::kSelectionModeTitle);
}

TEST_F(SelectionModeDlgTest, ListSearchedPortsOnlyAfterAScanAndNotFromOpenCamera) {
    const struct {
        bool noScanYet;
        bool fromOpenCamera;
        bool enabled;
    } cases[] = {
        {true, false, false}, {false, true, false}, {true, true, false}, {false, false, true}};
    for (const auto& c : cases) {
        SelectionMode selection(&ui_, c.noScanYet, c.fromOpenCamera);
        selection.FillCardList(clserIni_);
        CSelectionModeDlg dialog(selection);
        dialog.show();
        QRadioButton* listSearched = dialog.Radio(SelectionMode::kListSearched);
        EXPECT_EQ(listSearched->isEnabled(), c.enabled);
        listSearched->click();  // a disabled button ignores the click
        ClickOk(dialog);
        EXPECT_EQ(selection.ListOnly, c.enabled);
    }
}

}  // namespace
