#include "SelectionMode.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "ConnectTexts.h"
#include "IniProfile.h"
#include "core/PortSlot.h"
#include "core/UserInterface.h"

namespace velterra {

namespace {

// A "DLL" value names a clser library when its lower-cased copy is longer than 9 characters,
// begins with "clser" and ends in ".dll"; the transport of this platform also loads ".so"
// names, so those name a card too.
bool NamesClserLibrary(const std::string& value) {
    std::string lower = value;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.size() <= 9 || !lower.starts_with("clser")) return false;
    return lower.ends_with(".dll") || lower.ends_with(".so");
}

struct TreeEntry {
    const char* text;
    int parent;
};

constexpr std::array<TreeEntry, SelectionMode::kTreeItemCount> kTree = {{
    {ConnectText::kCameraLinkRoot, SelectionMode::kNoTreeItem},
    {ConnectText::kPort0Leaf, SelectionMode::kCameraLinkRoot},
    {ConnectText::kPort1Leaf, SelectionMode::kCameraLinkRoot},
    {ConnectText::kComRoot, SelectionMode::kNoTreeItem},
    {ConnectText::kCom3Leaf, SelectionMode::kComRoot},
    {ConnectText::kCom4Leaf, SelectionMode::kComRoot},
}};

bool IsTreeItem(int item) {
    return item >= 0 && item < SelectionMode::kTreeItemCount;
}

}  // namespace

const char* SelectionMode::TreeItemText(int item) {
    return IsTreeItem(item) ? kTree[static_cast<std::size_t>(item)].text : "";
}

int SelectionMode::TreeItemParent(int item) {
    return IsTreeItem(item) ? kTree[static_cast<std::size_t>(item)].parent : kNoTreeItem;
}

SelectionMode::SelectionMode(IUserInterface* ui, bool noScanYet, bool fromOpenCamera)
    : ui_(ui), listSearchedEnabled_(!noScanYet && !fromOpenCamera) {}

void SelectionMode::FillCardList(const std::filesystem::path& clserIni) {
    cards_.clear();
    for (int card = 0; card < kCardCount; ++card) {
        const std::string library =
            ReadProfileString(ConnectText::kClserDllSection, std::to_string(card), "", clserIni);
        std::string entry = ConnectText::kErrorCard;
        if (NamesClserLibrary(library)) {
            // The caption's section is named by the value as written, not the lower-cased copy.
            entry = ReadProfileString(library, ConnectText::kClserCaptionKey, "", clserIni);
            if (entry.empty()) entry = library;
        }
        cards_.push_back(std::move(entry));
    }
    selectedCard_ = 0;
}

void SelectionMode::SelectCard(int card) {
    if (card >= 0 && card < static_cast<int>(cards_.size())) selectedCard_ = card;
}

void SelectionMode::SelectBaud(int entry) {
    if (entry >= 0 && entry < static_cast<int>(kBaudRates.size())) selectedBaud_ = entry;
}

bool SelectionMode::SelectBaudText(const std::string& text) {
    for (std::size_t i = 0; i < kBaudRates.size(); ++i) {
        if (text == kBaudRates[i]) {
            selectedBaud_ = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

void SelectionMode::ChooseRadio(Radio radio) {
    switch (radio) {
        case kSearchAll:
            SearchAll = true;
            ListOnly = false;
            break;
        case kForceOne:
            SearchAll = false;
            ListOnly = false;
            break;
        case kListSearched:
            if (!listSearchedEnabled_) return;
            ListOnly = true;  // search-all keeps its value
            break;
        default:
            return;
    }
    RadioChoice = radio;
}

void SelectionMode::SelectTreeItem(int item) {
    selectedTreeItem_ = IsTreeItem(item) ? item : kNoTreeItem;
    if (TreeItemParent(selectedTreeItem_) != kNoTreeItem) ChooseRadio(kForceOne);
}

void SelectionMode::ShowMessage(const char* text) const {
    if (ui_ != nullptr) ui_->ShowMessage(text, MessageKind::Plain);
}

bool SelectionMode::AcceptSelection() {
    BaudRate = static_cast<int32_t>(std::atol(kBaudRates[static_cast<std::size_t>(selectedBaud_)]));
    if (SearchAll || ListOnly) return true;

    const int parent = TreeItemParent(selectedTreeItem_);
    if (parent == kNoTreeItem) {
        ShowMessage(ConnectText::kSelectPort);
        return false;
    }
    if (parent == kComRoot) {
        PortKind = kComPort;
        PortIndex = selectedTreeItem_ == kCom3Leaf ? 2 : 3;
        return true;
    }
    const bool validCard = selectedCard_ >= 0 && selectedCard_ < static_cast<int>(cards_.size());
    if (!validCard || cards_[static_cast<std::size_t>(selectedCard_)] == ConnectText::kErrorCard) {
        ShowMessage(ConnectText::kChooseEffectiveCard);
        return false;
    }
    PortKind = kCameraLinkPort;
    PortIndex = 2 * selectedCard_ + (selectedTreeItem_ == kPort1Leaf ? 1 : 0);
    return true;
}

int SelectionMode::ForcedSlot() const {
    if (PortKind == kCameraLinkPort) return PortIndex;
    if (PortKind == kComPort) return PortIndex + PortSlot::kFirstComSlot;
    return -1;
}

}  // namespace velterra
