#include "OpenCameraModel.h"

#include <cstdlib>
#include <mutex>

#include "ConnectTexts.h"
#include "SelectionMode.h"
#include "core/FormatText.h"
#include "core/VelterraDoc.h"
#include "core/WaitCursor.h"

namespace velterra {

OpenCameraModel::OpenCameraModel(CVelterraDoc& doc, ProbeTable& table)
    : doc_(doc),
      table_(table),
      connector_(doc, table),
      cancelCaption_(ConnectText::kCancelButton) {}

void OpenCameraModel::SetUserInterface(IUserInterface* ui) {
    connector_.SetUserInterface(ui);
}

// Registry access. Without a registry (it could not be created) the owners live here, so the
// dialog still leaves failed ports out and knows which ports it holds.
PortRegistry::OwnerState OpenCameraModel::OwnerState(int slot) const {
    if (const PortRegistry* registry = doc_.Registry()) return registry->StateOf(slot);
    const uint32_t owner = localOwners_[static_cast<std::size_t>(slot)];
    if (owner == PortRegistry::kFree) return PortRegistry::OwnerState::Free;
    if (owner == PortRegistry::kFailed) return PortRegistry::OwnerState::Failed;
    return PortRegistry::OwnerState::Self;
}

bool OpenCameraModel::SetOwner(int slot, uint32_t owner) {
    // Never over a slot another copy claimed after this one looked at it.
    if (PortRegistry* registry = doc_.Registry()) return registry->SetOwnerUnlessTaken(slot, owner);
    localOwners_[static_cast<std::size_t>(slot)] = owner;
    return true;
}

std::string OpenCameraModel::RegistryStatusText(int slot) const {
    if (!PortSlot::IsValid(slot)) return {};
    switch (OwnerState(slot)) {
        case PortRegistry::OwnerState::Free:
            return {};
        case PortRegistry::OwnerState::Self:
            return ConnectText::kUsed;
        case PortRegistry::OwnerState::Failed:
            return ConnectText::kFailed;
        case PortRegistry::OwnerState::Other:
            return ConnectText::kUsedByOther;
    }
    return {};
}

std::string OpenCameraModel::ProbeStatusText(int slot) const {
    if (!PortSlot::IsValid(slot)) return {};
    const ProbeEntry& entry = table_[slot];
    switch (entry.Status) {
        case ProbeStatus::kAnswered:
            return ConnectText::kExistedDisconnected;
        case ProbeStatus::kConnected:
            return FormatText(ConnectText::kConnectedTo, entry.RemoteDeviceName.c_str());
        case ProbeStatus::kNoAnswer:
            return ConnectText::kNoneBusy;
        default:
            return {};
    }
}

int OpenCameraModel::SlotOfPortName(std::string_view name) {
    if (name.size() <= 3) return -1;
    const std::string text(name);
    int slot = -1;
    if (text.starts_with("clser-")) {
        slot = std::atoi(text.c_str() + 6);
    } else if (text.starts_with("COM")) {
        slot = std::atoi(text.c_str() + 3) + 5;
    }
    // A number beyond the ten slots would index past the probe table.
    return PortSlot::IsValid(slot) ? slot : -1;
}

int OpenCameraModel::SlotOfRow(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return -1;
    return SlotOfPortName(rows_[static_cast<std::size_t>(row)].Port);
}

int OpenCameraModel::RowOfSlot(int slot) const {
    const std::string name = PortSlot::Name(slot);
    if (name.empty()) return -1;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row].Port == name) return static_cast<int>(row);
    }
    return -1;
}

PortButtons OpenCameraModel::ButtonsFor(int slot) const {
    PortButtons buttons;
    if (!PortSlot::IsValid(slot)) return buttons;
    const uint8_t status = table_[slot].Status;
    switch (OwnerState(slot)) {
        case PortRegistry::OwnerState::Self:
            buttons.Close = true;
            buttons.Ok = status == ProbeStatus::kConnected;
            break;
        case PortRegistry::OwnerState::Free:
            buttons.Open = status != ProbeStatus::kNoAnswer;
            break;
        case PortRegistry::OwnerState::Failed:
        case PortRegistry::OwnerState::Other:
            break;
    }
    return buttons;
}

void OpenCameraModel::UpdatePortButtons(int slot) {
    buttons_ = ButtonsFor(slot);
}

void OpenCameraModel::MarkChanged() {
    cancelCaption_ = ConnectText::kExitButton;
}

void OpenCameraModel::FitColumns() {
    if (listener_ != nullptr) listener_->FitColumns();
}

void OpenCameraModel::FocusList() {
    if (listener_ != nullptr) listener_->FocusList();
}

void OpenCameraModel::Probing(int slot) {
    if (listener_ != nullptr) listener_->Probing(slot);
}

void OpenCameraModel::ClearList() {
    rows_.clear();
    selectedRow_ = -1;
}

void OpenCameraModel::AddRow(int slot) {
    rows_.push_back({PortSlot::Name(slot), RegistryStatusText(slot), ProbeStatusText(slot)});
}

void OpenCameraModel::RefreshRow(int slot) {
    const int row = RowOfSlot(slot);
    if (row < 0) return;
    PortRow& line = rows_[static_cast<std::size_t>(row)];
    line.Status = RegistryStatusText(slot);
    line.RemoteDevice = ProbeStatusText(slot);
}

void OpenCameraModel::SelectRow(int row) {
    selectedRow_ = row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
}

bool OpenCameraModel::OpenPort(int slot) {
    const auto baudRate = static_cast<uint32_t>(data_.BaudRate);
    return doc_.CallPort(slot, [baudRate](const ProtocolApi& protocol, int32_t type, int32_t port) {
        return protocol.OpenPort2(type, port, baudRate);
    }) != 0;
}

void OpenCameraModel::ClosePort(int slot) {
    doc_.CallPort(slot, [](const ProtocolApi& protocol, int32_t type, int32_t port) {
        return protocol.ClosePort(type, port);
    });
}

void OpenCameraModel::CloseOwnPort(int slot) {
    ClosePort(slot);
    if (slot == doc_.PortIndex) {
        data_.ConnectionClosed = 1;
        MarkChanged();
    }
}

void OpenCameraModel::ScanPorts() {
    WaitCursor wait(UserInterface());
    ClearList();
    table_.Clear();
    for (int slot = 0; slot < PortSlot::kCount; ++slot) {
        const PortRegistry::OwnerState owner = OwnerState(slot);
        if (owner != PortRegistry::OwnerState::Other) {
            if (owner == PortRegistry::OwnerState::Self) CloseOwnPort(slot);
            if (!SetOwner(slot, PortRegistry::kFree)) {
                AddRow(slot);  // taken by another copy since it was read: left to it
                continue;
            }
            Probing(slot);
            if (!OpenPort(slot)) {
                SetOwner(slot, PortRegistry::kFailed);
            } else {
                const bool answered = connector_.ProbeSlot(slot);
                table_[slot].Status = answered ? ProbeStatus::kAnswered : ProbeStatus::kNoAnswer;
                ClosePort(slot);
            }
        }
        if (OwnerState(slot) != PortRegistry::OwnerState::Failed) AddRow(slot);
    }
    FitColumns();
    UpdatePortButtons(-1);
}

bool OpenCameraModel::ConnectOnePort(int slot) {
    if (!PortSlot::IsValid(slot)) return false;
    WaitCursor wait(UserInterface());
    ClearList();
    table_.Clear();

    std::array<bool, PortSlot::kCount> reached{};
    for (int s = 0; s < PortSlot::kCount; ++s) {
        const PortRegistry::OwnerState owner = OwnerState(s);
        if (owner == PortRegistry::OwnerState::Other) continue;
        if (owner == PortRegistry::OwnerState::Self) CloseOwnPort(s);
        reached[static_cast<std::size_t>(s)] = true;
    }

    AddRow(slot);
    bool connected = false;
    // A port another copy holds stays untouched even when forced; its row tells why.
    if (reached[static_cast<std::size_t>(slot)]) {
        connector_.BaudRate = static_cast<uint32_t>(data_.BaudRate);
        Probing(slot);
        connected = connector_.ConnectSlot(slot, true) == ProbeStatus::kConnected;
        SetOwner(slot,
                 connector_.LastOpenFailed() ? PortRegistry::kFailed : PortRegistry::SelfId());
    }
    RefreshRow(slot);
    SelectRow(RowOfSlot(slot));

    for (int s = 0; s < PortSlot::kCount; ++s) {
        if (s == slot || !reached[static_cast<std::size_t>(s)]) continue;
        SetOwner(s, PortRegistry::kFailed);
        table_[s].Status = ProbeStatus::kNoAnswer;
    }

    FitColumns();
    if (!connected) {
        UpdatePortButtons(-1);
        return false;
    }
    UpdatePortButtons(slot);
    MarkChanged();
    FocusList();
    return true;
}

void OpenCameraModel::ListSearchedPorts() {
    data_.BaudRate = doc_.BaudRate;
    ClearList();
    for (int slot = 0; slot < PortSlot::kCount; ++slot) {
        if (OwnerState(slot) != PortRegistry::OwnerState::Failed) AddRow(slot);
    }
    FitColumns();
    UpdatePortButtons(-1);
}

SelectionMode OpenCameraModel::MakeSelectionMode(bool fromOpenCamera) const {
    SelectionMode selection(UserInterface(), doc_.FirstScan, fromOpenCamera);
    selection.FillCardList(doc_.StartupFilePath(ConnectText::kClserIniFile));
    return selection;
}

void OpenCameraModel::TakeSelection(const SelectionMode& selection) {
    data_.SearchAll = selection.SearchAll;
    data_.BaudRate = selection.BaudRate;
}

bool OpenCameraModel::ConnectForced(const SelectionMode& selection) {
    return ConnectForcedSlot(selection.ForcedSlot());
}

bool OpenCameraModel::ConnectForcedSlot(int slot) {
    if (!ConnectOnePort(slot)) return false;
    const ProbeEntry& entry = table_[slot];
    data_.SelectedSlot = slot;
    data_.ModelName = entry.RemoteDeviceName;
    data_.Kernel = entry.Kernel;
    return true;
}

OpenCameraModel::Outcome OpenCameraModel::Start(const SelectionRunner& runSelectionMode) {
    for (;;) {
        SelectionMode selection = MakeSelectionMode(false);
        if (!runSelectionMode || !runSelectionMode(selection)) return Outcome::Cancel;
        doc_.FirstScan = false;
        TakeSelection(selection);
        data_.ListOnly = selection.ListOnly;
        if (data_.ListOnly) {
            ListSearchedPorts();
            return Outcome::Stay;
        }
        if (data_.SearchAll) {
            ScanPorts();
            return Outcome::Stay;
        }
        if (ConnectForced(selection)) return Outcome::Ok;
    }
}

OpenCameraModel::Outcome OpenCameraModel::StartForced(int slot, int32_t baudRate,
                                                      const SelectionRunner& runSelectionMode) {
    doc_.FirstScan = false;
    data_.SearchAll = false;
    data_.BaudRate = baudRate;
    if (ConnectForcedSlot(slot)) return Outcome::Ok;
    return Start(runSelectionMode);
}

OpenCameraModel::Outcome OpenCameraModel::SelectionModeClicked(
    const SelectionRunner& runSelectionMode) {
    SelectionMode selection = MakeSelectionMode(true);
    if (!runSelectionMode || !runSelectionMode(selection)) return Outcome::Stay;
    TakeSelection(selection);
    if (data_.SearchAll) {
        ScanPorts();
        return Outcome::Stay;
    }
    return ConnectForced(selection) ? Outcome::Ok : Outcome::Stay;
}

void OpenCameraModel::ClickRow(int row) {
    SelectRow(row);
    UpdatePortButtons(SlotOfRow(selectedRow_));
}

void OpenCameraModel::DoubleClickRow(int row) {
    ClickRow(row);
    if (buttons_.Open) OpenSelectedPort();
}

void OpenCameraModel::KeyUp() {
    if (selectedRow_ <= 0) return;
    ClickRow(selectedRow_ - 1);
}

void OpenCameraModel::KeyDown() {
    if (rows_.empty() || selectedRow_ + 1 >= static_cast<int>(rows_.size())) return;
    ClickRow(selectedRow_ + 1);  // from no selection (-1) to the first row
}

// The buttons are only enabled for a port in the matching state; an action on any other port
// (a stale click, a key the widget let through) would open a port twice or free a slot that
// another copy holds, so it does nothing.
void OpenCameraModel::OpenSelectedPort() {
    const int slot = SlotOfRow(selectedRow_);
    if (!ButtonsFor(slot).Open) return;
    connector_.BaudRate = static_cast<uint32_t>(data_.BaudRate);
    Probing(slot);
    connector_.ConnectSlot(slot);
    SetOwner(slot, connector_.LastOpenFailed() ? PortRegistry::kFailed : PortRegistry::SelfId());
    SelectRow(RowOfSlot(slot));
    RefreshRow(slot);
    UpdatePortButtons(slot);
    MarkChanged();
    FocusList();
}

void OpenCameraModel::CloseSelectedPort() {
    const int slot = SlotOfRow(selectedRow_);
    if (!ButtonsFor(slot).Close) return;
    doc_.ClosePortSlot(slot);
    SetOwner(slot, PortRegistry::kFree);
    table_[slot].Status = ProbeStatus::kAnswered;
    if (slot == doc_.PortIndex) data_.ConnectionClosed = 1;
    RefreshRow(slot);
    UpdatePortButtons(slot);
    MarkChanged();
    FocusList();
}

OpenCameraModel::Outcome OpenCameraModel::Accept() {
    const int slot = SlotOfRow(selectedRow_);
    if (!ButtonsFor(slot).Ok) return Outcome::Stay;
    const ProbeEntry& entry = table_[slot];
    data_.SelectedSlot = slot;
    data_.ModelName = entry.RemoteDeviceName;
    data_.Kernel = entry.Kernel;
    return Outcome::Ok;
}

OpenCameraModel::Outcome OpenCameraModel::Cancel() {
    return Outcome::Cancel;
}

OpenCameraResult OpenCameraModel::Result(Outcome end) const {
    OpenCameraResult result;
    result.accepted = end == Outcome::Ok;
    result.slot = data_.SelectedSlot;
    result.modelName = data_.ModelName;
    result.kernel = static_cast<uint8_t>(data_.Kernel);
    result.baudRate = data_.BaudRate;
    result.connectionClosed = data_.ConnectionClosed != 0;
    return result;
}

}  // namespace velterra
