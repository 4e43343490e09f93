// The camera connection of the document: port slot and type, alive probe, start of a
// connection, closing a slot and the "&Open Camera..." command.
#include "Clock.h"
#include "CommandNames.h"
#include "ConfigKeys.h"
#include "ConfigParsers.h"
#include "CoreTexts.h"
#include "EngineTexts.h"
#include "FormatText.h"
#include "IniProfile.h"
#include "PortRegistry.h"
#include "PortSlot.h"
#include "UpdateHints.h"
#include "VelterraDoc.h"

namespace velterra {

std::string CVelterraDoc::PortName() const {
    return PortSlot::Name(PortIndex);
}

void CVelterraDoc::OnNewDocument() {
    SetModifiedFlag(false);
    SetTitle(EngineText::kUntitled);
}

void CVelterraDoc::ShowMessage(const std::string& text) {
    if (ui_ != nullptr) ui_->ShowMessage(text, MessageKind::Plain);
}

void CVelterraDoc::SetPortTypeFromTag(std::string_view tag) {
    if (tag == PortRegistry::kCameraLinkTag) PortType = PortSlot::kCameraLink;
    if (tag == PortRegistry::kRs232Tag) PortType = PortSlot::kRs232;
}

void CVelterraDoc::SetPortTypeFromSlot(int slot) {
    if (!PortSlot::IsValid(slot)) return;
    // Without a registry there are no tags; the slot's own transport is the one its tag would
    // name, and keeping the last type would open a COM port as a Camera Link port.
    if (registry_ == nullptr) {
        PortType = PortSlot::TransportOf(slot);
        return;
    }
    SetPortTypeFromTag(registry_->Tag(slot));
}

int32_t CVelterraDoc::PortTypeOf(int slot) const {
    if (registry_ != nullptr) {
        const std::string tag = registry_->Tag(slot);
        if (tag == PortRegistry::kCameraLinkTag) return PortSlot::kCameraLink;
        if (tag == PortRegistry::kRs232Tag) return PortSlot::kRs232;
    }
    return PortSlot::TransportOf(slot);
}

void CVelterraDoc::ProbeCamera(bool repaint) {
    if (PortIndex < 0) {
        NotResponding = false;
        return;
    }
    if (repaint) {
        const bool wasBusy = Busy;
        if (!NotResponding) Busy = true;
        if (ui_ != nullptr) ui_->RepaintLamp();
        if (!NotResponding) Busy = wasBusy;
    }
    if (!ProbeCommandCached) {
        const std::string text = ReadProfileString(
            CommandName::kGetLEDState, ConfigKey::kCommandID, "0",
            StartupFilePath(CoreText::kNamedCommandFile), ConfigKey::kCommandIdBufferSize);
        ProbeCommandId = static_cast<uint8_t>(ParseNumberText(LowerCase(text)) & 0xFF);
        ProbeCommandCached = true;
    }

    bool send = false;
    {
        std::lock_guard probe(ProbeLock);
        if (ProbeRunning) {
            NotResponding = true;
        } else {
            ProbeRunning = true;
            NotResponding = true;
            send = true;
        }
    }
    if (send) {
        const int32_t result =
            CallPort(PortIndex, [this](const ProtocolApi& protocol, int32_t type, int32_t port) {
                const uint8_t data = 0;
                return protocol.CommandPort(type, port, ProbeCommandId, 1, &data);
            });
        std::lock_guard probe(ProbeLock);
        if (result != 0) NotResponding = false;
        ProbeRunning = false;
    }
    if (repaint && ui_ != nullptr) ui_->RepaintLamp();
}

void CVelterraDoc::StartPollTimer() {
    if (ui_ != nullptr) ui_->StartPollTimer(kPollTimerPeriodMs);
}

void CVelterraDoc::StartConnection() {
    if (CameraKernel == 0) {
        ProbeCamera(false);
        StartPollTimer();
    }
    if (NotResponding) {
        ShowMessage(FormatText(EngineText::kCannotCommunicate, PortName().c_str()));
        UpdateAllViews(UpdateHint::kValuesChanged, Blocks.empty() ? nullptr : &Blocks);
    } else {
        RefreshAll();
    }
}

void CVelterraDoc::ClosePortSlot(int slot) {
    if (!PortSlot::IsValid(slot)) return;
    CallPort(slot, [](const ProtocolApi& protocol, int32_t type, int32_t port) {
        return protocol.ClosePort(type, port);
    });
    if (registry_ != nullptr) registry_->SetOwnerUnlessTaken(slot, PortRegistry::kFree);
}

void CVelterraDoc::ReleaseOwnPorts() {
    if (registry_ == nullptr) return;
    for (int slot = 0; slot < PortSlot::kCount; ++slot) {
        if (registry_->Owner(slot) == PortRegistry::SelfId()) ClosePortSlot(slot);
    }
}

int CVelterraDoc::ReleaseOwnPortsNow(int waitMs) {
    ExchangeRuns.RequestStop();
    if (registry_ == nullptr) return 0;
    int closed = 0;
    for (int slot = 0; slot < PortSlot::kCount; ++slot) {
        if (registry_->Owner(slot) != PortRegistry::SelfId()) continue;
        // Exchanges that have not started are skipped now, so the lock comes free as soon as
        // the one under way ends within its time limits.
        const uint32_t start = platform::TickCount();
        bool free = false;
        while (!(free = PortLock.try_lock()) &&
               platform::TicksSince(start) < static_cast<uint32_t>(waitMs)) {
            platform::SleepMs(2);
        }
        if (free) {
            PortLock.unlock();
            ClosePortSlot(slot);
            ++closed;
        } else {
            registry_->ReplaceOwner(slot, PortRegistry::SelfId(), PortRegistry::kFree);
        }
    }
    return closed;
}

bool CVelterraDoc::SwitchModel(const std::string& modelName, MenusOfFailedTable menus,
                               std::string* failure) {
    ModelName = modelName;
    FindCommandFile(ModelName);  // on failure the load below fails on the model table
    if (ui_ != nullptr) ui_->ResetCommandMenus();
    FreeCommandTable();
    const bool loaded = LoadCommandTable(CommandFilePath, failure);
    if (ui_ != nullptr && (loaded || menus == MenusOfFailedTable::kFillAnyway)) {
        ui_->LoadBasicCommands(MenuDB);
        ui_->LoadAdvancedCommands(MenuDB);
        ui_->LoadPasswordCommands(MenuDB);
    }
    return loaded;
}

// A new document on the model's table; the connection starts when the table loads. A table
// that fails to load leaves the port connected with empty menus.
void CVelterraDoc::ConnectModel(const std::string& modelName) {
    SetModifiedFlag(false);
    OnNewDocument();
    if (SwitchModel(modelName)) {
        SetTitle(PortName());
        StartConnection();
    }
    UpdateAllViews(UpdateHint::kConnectionChanged);
}

void CVelterraDoc::ForgetConnection() {
    PortIndex = -1;
    ModelName.clear();
    UpdateAllViews(UpdateHint::kCloseLutEditor);
    if (ui_ != nullptr) ui_->ResetCommandMenus();
    FreeCommandTable();
    SetModifiedFlag(false);
    OnNewDocument();
    NoPortText.clear();
    UpdateAllViews(UpdateHint::kConnectionChanged);
    UpdateAllViews(UpdateHint::kValuesChanged, nullptr);
}

namespace {

std::string SlotTag(const PortRegistry* registry, int slot) {
    if (registry != nullptr) return registry->Tag(slot);
    return PortSlot::TransportOf(slot) == PortSlot::kRs232 ? PortRegistry::kRs232Tag
                                                           : PortRegistry::kCameraLinkTag;
}

}  // namespace

void CVelterraDoc::OnOpenCamera() {
    UpdateAllViews(UpdateHint::kFinishEditing);
    const OpenCameraResult result =
        ui_ != nullptr ? ui_->RunOpenCameraDialog(*this) : OpenCameraResult{};

    // An OK always names a slot; one without a usable slot is taken as a cancel.
    if (result.accepted && PortSlot::IsValid(result.slot)) {
        BaudRate = result.baudRate;
        const int current = PortIndex;
        if (current < 0 || result.modelName != ModelName) {
            PortIndex = result.slot;
            CameraKernel = result.kernel;
            SetPortTypeFromSlot(result.slot);
            UpdateAllViews(UpdateHint::kCloseLutEditor);
            ConnectModel(result.modelName);
            return;
        }
        if (result.slot == current) {
            SetPortTypeFromSlot(current);
            StartConnection();
            return;
        }
        const bool sameTransport = SlotTag(registry_, result.slot) == SlotTag(registry_, current);
        PortIndex = result.slot;
        SetPortTypeFromSlot(result.slot);
        if (!sameTransport) {
            ConnectModel(ModelName);
            return;
        }
        if (IsModified()) SetModifiedFlag(false);
        OnNewDocument();
        SetTitle(PortName());
        StartConnection();
        UpdateAllViews(UpdateHint::kConnectionChanged);
        return;
    }

    if (PortIndex < 0) return;
    if (result.connectionClosed) {
        ForgetConnection();
        return;
    }
    SetPortTypeFromSlot(PortIndex);
}

}  // namespace velterra
