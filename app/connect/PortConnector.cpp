#include "PortConnector.h"

#include <algorithm>
#include <array>

#include "Clock.h"
#include "ConnectTexts.h"
#include "IniProfile.h"
#include "core/CommandNames.h"
#include "core/ConfigKeys.h"
#include "core/ConfigParsers.h"
#include "core/CoreTexts.h"
#include "core/FormatText.h"
#include "core/PortRegistry.h"
#include "core/PortSlot.h"
#include "core/VelterraDoc.h"

namespace velterra {

PortConnector::PortConnector(CVelterraDoc& doc, ProbeTable& table) : doc_(doc), table_(table) {}

IUserInterface* PortConnector::UserInterface() const {
    return ui_ != nullptr ? ui_ : doc_.UserInterface();
}

bool PortConnector::ProbeSlot(int slot) {
    if (!PortSlot::IsValid(slot)) return false;
    const std::string text = ReadProfileString(
        CommandName::kGetLEDState, ConfigKey::kCommandID, "0",
        doc_.StartupFilePath(CoreText::kNamedCommandFile), ConfigKey::kCommandIdBufferSize);
    const auto commandId = static_cast<uint8_t>(ParseNumberText(LowerCase(text)) & 0xFF);
    for (int attempt = 0; attempt < kProbeAttempts; ++attempt) {
        const int32_t result = doc_.CallPort(
            slot, [commandId](const ProtocolApi& protocol, int32_t type, int32_t port) {
                const uint8_t data = 0;
                return protocol.CommandPort(type, port, commandId, 1, &data);
            });
        if (result != 0) return true;
        platform::SleepMs(kProbeRetryPauseMs);
    }
    return false;
}

bool PortConnector::IdentifySlot(int slot) {
    if (!PortSlot::IsValid(slot)) return false;
    identification_ = {};
    const std::string table = doc_.StartupFilePath(CoreText::kModelTableFile);
    const auto commandId = static_cast<uint8_t>(
        ReadProfileInt(ConfigKey::kModelInfoCommand, ConfigKey::kCommandID, 0, table));
    const auto length = static_cast<uint8_t>(
        ReadProfileInt(ConfigKey::kModelInfoCommand, ConfigKey::kCharLength, 0, table));
    const std::string portName = PortSlot::Name(slot);
    auto show = [this](const std::string& text) {
        if (IUserInterface* ui = UserInterface()) ui->ShowMessage(text, MessageKind::Plain);
    };

    std::array<uint8_t, 128> buffer{};
    int32_t result = 0;
    // A longer model text cannot be read in one short frame; such a table is refused unsent.
    if (length <= kMaxModelTextLength) {
        result = doc_.CallPort(slot, [&](const ProtocolApi& protocol, int32_t type, int32_t port) {
            return protocol.ReadWritePort(type, port, 0, commandId, length, buffer.data());
        });
    }
    if (result == 0) {
        show(FormatText(ConnectText::kCannotConnect, portName.c_str()));
        return false;
    }
    const auto* text = reinterpret_cast<const char*>(buffer.data());
    identification_.ModelText.assign(text, std::find(text, text + length, '\0'));
    const std::string& modelText = identification_.ModelText;

    const int32_t entry = ReadProfileInt(ConfigKey::kModelInfoDB, modelText, -1, table);
    if (entry < 0) {
        show(FormatText(ConnectText::kUnknownModel, modelText.c_str()));
        return false;
    }
    const std::string value =
        ReadProfileString(ConfigKey::kBranchType, std::to_string(entry), "", table);
    std::string modelName;
    std::string fileName;
    ParseBranchEntry(value, modelName, fileName);
    identification_.ModelName = modelName;
    identification_.CommandFileName = fileName;
    if (fileName.empty()) {
        show(FormatText(ConnectText::kNoCommandFile, modelText.c_str()));
        return false;
    }
    table_[slot].RemoteDeviceName = modelName.substr(0, ProbeTable::kNameChars);
    return true;
}

uint8_t PortConnector::ConnectSlot(int slot, bool closeOnFailedIdentification) {
    lastOpenFailed_ = false;
    lastClaimLost_ = false;
    if (!PortSlot::IsValid(slot)) return ProbeStatus::kNoAnswer;
    PortRegistry* registry = doc_.Registry();
    const uint32_t seen = registry != nullptr ? registry->Owner(slot) : PortRegistry::kFree;
    if (PortRegistry::StateOfOwner(seen) == PortRegistry::OwnerState::Other) {
        return table_[slot].Status;
    }

    const int32_t opened =
        doc_.CallPort(slot, [this](const ProtocolApi& protocol, int32_t type, int32_t port) {
            return protocol.OpenPort2(type, port, BaudRate);
        });
    if (opened == 0) {
        lastOpenFailed_ = true;
        // Only as it was seen: another copy may have taken the slot meanwhile.
        if (registry != nullptr) registry->ReplaceOwner(slot, seen, PortRegistry::kFailed);
        table_[slot].Status = ProbeStatus::kNoAnswer;
        return table_[slot].Status;
    }
    if (registry != nullptr && !registry->SetOwnerUnlessTaken(slot, PortRegistry::SelfId())) {
        // Another copy claimed the slot while this one opened it: the port is theirs.
        ClosePort(slot);
        lastClaimLost_ = true;
        return table_[slot].Status;
    }
    const bool identified = IdentifySlot(slot);
    table_[slot].Status = identified ? ProbeStatus::kConnected : ProbeStatus::kNoAnswer;
    table_[slot].Kernel = kShortFrameKernel;
    if (identified && !UseIdentifiedKernel(slot)) {
        lastOpenFailed_ = true;
        if (registry != nullptr) {
            registry->ReplaceOwner(slot, PortRegistry::SelfId(), PortRegistry::kFailed);
        }
        table_[slot].Status = ProbeStatus::kNoAnswer;
        return table_[slot].Status;
    }
    if (!identified && closeOnFailedIdentification) ClosePort(slot);
    return table_[slot].Status;
}

void PortConnector::ClosePort(int slot) {
    doc_.CallPort(slot, [](const ProtocolApi& protocol, int32_t type, int32_t port) {
        return protocol.ClosePort(type, port);
    });
}

// The transport frames by the kernel given at open, so a kernel-1 camera's port is opened
// again with it. False when that second open fails (the port is closed then).
bool PortConnector::UseIdentifiedKernel(int slot) {
    const uint8_t kernel = ChooseKernel(Kernel, identification_.ModelText);
    if (kernel == kShortFrameKernel) return true;
    ClosePort(slot);
    const int32_t opened =
        doc_.CallPort(slot, [&](const ProtocolApi& protocol, int32_t type, int32_t port) {
            return protocol.OpenPort3(type, port, BaudRate, kernel);
        });
    if (opened == 0) return false;
    table_[slot].Kernel = kernel;
    return true;
}

}  // namespace velterra
