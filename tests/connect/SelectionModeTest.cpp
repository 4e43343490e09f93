// The Selection Mode dialog's logic: the card list from clser.ini, the radio rules, and the
// port kind, index and slot that OK takes, with its two messages.
#include <gtest/gtest.h>

#include "../core/EngineTestSupport.h"
#include "connect/SelectionMode.h"

using namespace velterra;

namespace enginetest {
namespace {

class SelectionModeTest : public ::testing::Test {
  protected:
    std::filesystem::path ClserIni() const { return config.Path() + "/clser.ini"; }
    std::vector<std::string> CardsOf(const std::string& ini) {
        config.Write("clser.ini", ini);
        SelectionMode selection(&ui, false, false);
        selection.FillCardList(ClserIni());
        return selection.Cards();
    }
    // Forced mode on a tree item; the card list from clser.ini.
    SelectionMode Forced(int treeItem, int card = 0) {
        SelectionMode selection(&ui, false, false);
        selection.FillCardList(ClserIni());
        selection.SelectCard(card);
        selection.SelectTreeItem(treeItem);
        return selection;
    }

    ScratchConfig config;
    RecordingUi ui;
};

TEST_F(SelectionModeTest, CardListShowsCaptionsFileNamesOrErrorCards) {
    using Cards = std::vector<std::string>;
    // A caption; a 12-character name without one; capitals, caption found under that name.
    EXPECT_EQ(CardsOf("[DLL]\n0=clsersim.dll\n1=clserabc.dll\n2=CLSERX.DLL\n"
                      "[clsersim.dll]\nCaption=Simulated grabber\n[clserabc.dll]\nCaption=\n"
                      "[CLSERX.DLL]\nCaption=Card X\n"),
              (Cards{"Simulated grabber", "clserabc.dll", "Card X"}));
    // Nine characters, a wrong beginning or ending: not a clser library. Each card stands
    // alone, so a gap does not hide the cards after it.
    EXPECT_EQ(CardsOf("[DLL]\n0=clser.dll\n2=clsergrab.so\n"),
              (Cards{"(Error Card)", "(Error Card)", "clsergrab.so"}));
    EXPECT_EQ(CardsOf("[DLL]\n0=grabclser.dll\n1=clsergrab.dl\n2=clsergrab.dll.bak\n"),
              (Cards{"(Error Card)", "(Error Card)", "(Error Card)"}));

    std::filesystem::remove(ClserIni());
    SelectionMode selection(&ui, false, false);
    selection.FillCardList(ClserIni());
    EXPECT_EQ(selection.Cards(), (Cards{"(Error Card)", "(Error Card)", "(Error Card)"}));
    EXPECT_EQ(selection.SelectedCard(), 0);
}

TEST_F(SelectionModeTest, ForcedPortsGiveKindIndexAndSlot) {
    config.Write("clser.ini", "[DLL]\n0=clsersim.dll\n1=clserabc.dll\n2=clserxyz.dll\n");
    struct Case {
        int item;
        int card;
        int32_t kind;
        int32_t index;
        int slot;
    };
    const std::vector<Case> cases = {
        {SelectionMode::kCom3Leaf, 0, 1, 2, 8},  {SelectionMode::kCom4Leaf, 2, 1, 3, 9},
        {SelectionMode::kPort0Leaf, 0, 0, 0, 0}, {SelectionMode::kPort1Leaf, 1, 0, 3, 3},
        {SelectionMode::kPort1Leaf, 2, 0, 5, 5},
    };
    for (const Case& c : cases) {
        SelectionMode selection = Forced(c.item, c.card);
        EXPECT_EQ(selection.RadioChoice, SelectionMode::kForceOne);
        ASSERT_TRUE(selection.AcceptSelection()) << c.item;
        EXPECT_EQ(selection.PortKind, c.kind) << c.item;
        EXPECT_EQ(selection.PortIndex, c.index) << c.item;
        EXPECT_EQ(selection.ForcedSlot(), c.slot) << c.item;
        EXPECT_FALSE(selection.SearchAll);
        EXPECT_FALSE(selection.ListOnly);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SelectionModeTest, OkWithoutAUsablePortShowsAMessageAndStaysOpen) {
    config.Write("clser.ini", "[DLL]\n0=clsersim.dll\n1=clser.dll\n");
    SelectionMode selection(&ui, false, false);
    selection.FillCardList(ClserIni());
    selection.ChooseRadio(SelectionMode::kForceOne);
    EXPECT_FALSE(selection.AcceptSelection());  // nothing selected in the tree
    selection.SelectTreeItem(SelectionMode::kCameraLinkRoot);
    EXPECT_FALSE(selection.AcceptSelection());  // a root is no port
    selection.SelectTreeItem(SelectionMode::kPort0Leaf);
    selection.SelectCard(1);
    EXPECT_FALSE(selection.AcceptSelection());
    EXPECT_EQ(selection.PortKind, SelectionMode::kNoPortKind);
    EXPECT_EQ(selection.ForcedSlot(), -1);
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"Please select a port!", "Please select a port!",
                                        "Choose Error Card! Please choose an effective card!"}));
    selection.SelectCard(0);
    EXPECT_TRUE(selection.AcceptSelection());
    EXPECT_EQ(selection.ForcedSlot(), 0);

    // No clser.ini: only COM ports can be forced.
    std::filesystem::remove(ClserIni());
    ui.messages.clear();
    EXPECT_FALSE(Forced(SelectionMode::kPort1Leaf, 2).AcceptSelection());
    EXPECT_TRUE(Forced(SelectionMode::kCom4Leaf).AcceptSelection());
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"Choose Error Card! Please choose an effective card!"}));
}

TEST_F(SelectionModeTest, RadiosBaudRateAndTheListOfTheLastScan) {
    SelectionMode selection(&ui, false, false);
    EXPECT_EQ(selection.BaudRate, 9600);
    EXPECT_TRUE(selection.SearchAll);
    EXPECT_TRUE(selection.AcceptSelection());
    EXPECT_EQ(selection.BaudRate, 57600);  // the preselected entry

    // Selecting a root changes nothing; a leaf forces; "List searched" keeps search-all.
    selection.SelectTreeItem(SelectionMode::kComRoot);
    EXPECT_EQ(selection.RadioChoice, SelectionMode::kSearchAll);
    selection.ChooseRadio(SelectionMode::kListSearched);
    EXPECT_EQ(selection.RadioChoice, SelectionMode::kListSearched);
    EXPECT_TRUE(selection.ListOnly);
    EXPECT_TRUE(selection.SearchAll);
    selection.SelectTreeItem(SelectionMode::kCom3Leaf);
    EXPECT_EQ(selection.RadioChoice, SelectionMode::kForceOne);
    EXPECT_FALSE(selection.ListOnly);
    EXPECT_FALSE(selection.SearchAll);
    selection.ChooseRadio(SelectionMode::kListSearched);
    EXPECT_FALSE(selection.SearchAll);
    EXPECT_TRUE(selection.AcceptSelection());
    EXPECT_EQ(selection.PortKind, SelectionMode::kNoPortKind);  // listing forces no port
    selection.ChooseRadio(SelectionMode::kSearchAll);
    EXPECT_FALSE(selection.ListOnly);

    selection.SelectBaud(4);
    EXPECT_TRUE(selection.AcceptSelection());
    EXPECT_EQ(selection.BaudRate, 115200);
    EXPECT_FALSE(selection.SelectBaudText("14400"));
    EXPECT_TRUE(selection.SelectBaudText("19200"));
    selection.SelectBaud(7);  // no such entry: the choice stays
    EXPECT_TRUE(selection.AcceptSelection());
    EXPECT_EQ(selection.BaudRate, 19200);

    // Before any scan, or from inside the Open Camera dialog, there is no list to show.
    for (auto [noScanYet, fromOpenCamera] : {std::pair{true, false}, std::pair{false, true}}) {
        SelectionMode gated(&ui, noScanYet, fromOpenCamera);
        EXPECT_FALSE(gated.ListSearchedEnabled());
        gated.ChooseRadio(SelectionMode::kListSearched);
        EXPECT_EQ(gated.RadioChoice, SelectionMode::kSearchAll);
        EXPECT_FALSE(gated.ListOnly);
    }
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace enginetest
