// The per-tap LUT transfers and the helpers of the workbook operations.
#include "dataops/LutTransfer.h"

#include <algorithm>
#include <array>

#include "IniProfile.h"
#include "core/CommandNames.h"
#include "core/ConfigKeys.h"
#include "core/ConfigParsers.h"
#include "core/CoreTexts.h"
#include "core/FormatText.h"
#include "core/PortSlot.h"
#include "core/UpdateHints.h"
#include "dataops/DataOpsTexts.h"

namespace velterra {

uint8_t LutTransfer::NamedCommandId(const char* section) const {
    const std::string text = ReadProfileString(section, ConfigKey::kCommandID, "0",
                                               doc_.StartupFilePath(CoreText::kNamedCommandFile),
                                               ConfigKey::kCommandIdBufferSize);
    return static_cast<uint8_t>(ParseNumberText(text) & 0xFF);
}

template <class Call>
bool LutTransfer::PortCall(Call&& call) {
    return doc_.CallPort(doc_.PortIndex, std::forward<Call>(call)) != 0;
}

void LutTransfer::ReportPortError(std::string text) {
    doc_.MessageText = std::move(text);
    doc_.UpdateAllViews(UpdateHint::kLogMessage);
}

void LutTransfer::ShowMessage(const std::string& text) {
    if (IUserInterface* ui = doc_.UserInterface()) ui->ShowMessage(text, MessageKind::Plain);
}

void LutTransfer::SetBusy(bool busy) {
    doc_.Busy = busy;
    if (IUserInterface* ui = doc_.UserInterface()) ui->RepaintLamp();
}

void LutTransfer::TellProgress(int done, int total) {
    if (progress_) progress_(done, total);
}

bool LutTransfer::WriteLutTap(int tap, int kind, int count, const uint16_t* data) {
    const uint8_t lutCommand = NamedCommandId(CommandName::kLutRW);
    const uint8_t waitCommand = NamedCommandId(CommandName::kWaitCmd);
    const bool kernel1 = doc_.CameraKernel == 1;
    const auto tableId = static_cast<uint8_t>(tap);
    const auto entries = static_cast<int16_t>(count);
    const bool sent =
        (kernel1 || kind == kEveryScale) &&
        PortCall([&](const ProtocolApi& api, int32_t type, int32_t port) {
            return kernel1 ? api.LUTMassWrite2(type, port, lutCommand, waitCommand, tableId,
                                               static_cast<uint8_t>(kind), 0, entries, data)
                           : api.LUTMassWrite(type, port, lutCommand, tableId, entries, data);
        });
    if (!sent) {
        ReportPortError(
            FormatText(DataOpsText::kSendingTapFailed, tap + 1, doc_.PortName().c_str()));
    }
    return sent;
}

bool LutTransfer::ReadLutTap(int tap, int kind, int count, uint16_t* nodeCount, uint16_t* data) {
    const uint8_t lutCommand = NamedCommandId(CommandName::kLutRW);
    const bool kernel1 = doc_.CameraKernel == 1;
    const auto tableId = static_cast<uint8_t>(tap);
    const auto entries = static_cast<int16_t>(count);
    uint16_t reported = 0;
    bool read =
        (kernel1 || kind == kEveryScale) &&
        PortCall([&](const ProtocolApi& api, int32_t type, int32_t port) {
            return kernel1
                       ? api.LUTMassRead2(type, port, lutCommand, 0, tableId,
                                          static_cast<uint8_t>(kind), 0, entries, &reported, data)
                       : api.LUTMassRead(type, port, lutCommand, tableId, entries, data);
        });
    // The node buffers hold ten nodes a tap; a larger count cannot be real data.
    if (read && kind == kVectorNodes && reported > kMaxNodesPerTap) read = false;
    if (!read) {
        ReportPortError(
            FormatText(DataOpsText::kReadingTapFailed, tap + 1, doc_.PortName().c_str()));
        return false;
    }
    if (nodeCount != nullptr) *nodeCount = kind == kVectorNodes ? reported : uint16_t(count);
    return true;
}

}  // namespace velterra
