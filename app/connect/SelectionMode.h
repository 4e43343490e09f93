#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velterra {

class IUserInterface;

// The choices of the "Selection Mode for CL/COM Ports" dialog: scan every usable port, force
// one port, or list what the last scan found, and at which baud rate. The dialog's widgets show
// this state and forward the user's clicks; OK calls AcceptSelection.
class SelectionMode {
  public:
    // Control ids of the dialog resource.
    static constexpr int kSearchAllId = 1020;
    static constexpr int kForceOneId = 1021;
    static constexpr int kListSearchedId = 1022;
    static constexpr int kPortTreeId = 1025;
    static constexpr int kBaudListId = 1026;
    static constexpr int kCardListId = 1027;

    static constexpr std::array<const char*, 5> kBaudRates = {"9600", "19200", "38400", "57600",
                                                              "115200"};
    static constexpr int kPreselectedBaud = 3;  // 57600
    static constexpr int kCardCount = 3;

    enum Radio : int32_t { kSearchAll = 0, kForceOne = 1, kListSearched = 2 };
    enum PortKind : int32_t { kNoPortKind = -1, kCameraLinkPort = 0, kComPort = 1 };

    // The port tree, items in display order: two roots with two leaves each.
    enum TreeItem : int {
        kNoTreeItem = -1,
        kCameraLinkRoot = 0,
        kPort0Leaf,
        kPort1Leaf,
        kComRoot,
        kCom3Leaf,
        kCom4Leaf,
        kTreeItemCount
    };
    static const char* TreeItemText(int item);
    static int TreeItemParent(int item);  // kNoTreeItem for a root or an unknown item

    // noScanYet: the document's first-scan flag. fromOpenCamera: run by the Open Camera dialog's
    // "&Selection Mode" button. Either disables "List searched ports". Messages go to ui.
    SelectionMode(IUserInterface* ui, bool noScanYet, bool fromOpenCamera);

    // The card list from clser.ini: always three entries, the caption of each card's clser
    // library, its file name when it has no caption, or "(Error Card)". The first is selected.
    void FillCardList(const std::filesystem::path& clserIni);
    const std::vector<std::string>& Cards() const { return cards_; }
    int SelectedCard() const { return selectedCard_; }
    void SelectCard(int card);  // ignored outside the list

    int SelectedBaud() const { return selectedBaud_; }
    void SelectBaud(int entry);  // ignored outside the list
    // Selects the entry with this text; false when there is none.
    bool SelectBaudText(const std::string& text);

    bool ListSearchedEnabled() const { return listSearchedEnabled_; }
    void ChooseRadio(Radio radio);  // "List searched ports" only while it is enabled

    int SelectedTreeItem() const { return selectedTreeItem_; }
    // A leaf selects "Figure one port forcely:"; kNoTreeItem clears the selection.
    void SelectTreeItem(int item);

    // OK: takes the baud rate and, in forced mode, the port. True when the dialog closes with
    // OK; false after "Please select a port!" or the error-card message, the dialog staying open.
    bool AcceptSelection();

    // The result, live while the dialog runs.
    int32_t BaudRate = 9600;
    bool SearchAll = true;
    bool ListOnly = false;
    int32_t PortKind = kNoPortKind;
    int32_t PortIndex = -1;  // Camera Link: card * 2 + port; COM: 2 for COM3, 3 for COM4
    int32_t RadioChoice = kSearchAll;

    // The port slot of a forced port: the Camera Link port index, or the COM index + 6; -1
    // without one.
    int ForcedSlot() const;

  private:
    void ShowMessage(const char* text) const;

    IUserInterface* ui_;
    bool listSearchedEnabled_;
    std::vector<std::string> cards_;
    int selectedCard_ = 0;
    int selectedBaud_ = kPreselectedBaud;
    int selectedTreeItem_ = kNoTreeItem;
};

}  // namespace velterra
