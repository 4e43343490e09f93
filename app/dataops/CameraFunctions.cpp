// The function runner and the legacy camera's FPN/PRNU tables and one-pixel write.
#include "CameraFunctions.h"

#include "BusyScope.h"
#include "CameraFunctionEntry.h"
#include "DataOpsTexts.h"
#include "core/CommandNames.h"
#include "core/CoreTexts.h"
#include "core/FormatText.h"

namespace velterra {

namespace {

constexpr uint8_t kLegacyTableRead = 0xC5;
constexpr uint8_t kLegacyTableWrite = 0xC6;
constexpr uint8_t kLegacyOnePixel = 0xC9;
constexpr uint32_t kLegacyPixels = 8160;

// The library's progress and message handlers are plain functions; the transfer runs on the
// thread that started it, which finds its listeners here.
thread_local const CameraFunctions::Progress* t_legacyProgress = nullptr;
thread_local IUserInterface* t_legacyUi = nullptr;

void LegacyProgress(int32_t done, int32_t total) {
    if (t_legacyProgress != nullptr && *t_legacyProgress) (*t_legacyProgress)(done, total);
}

void LegacyMessage(const char* text) {
    if (t_legacyUi != nullptr && text != nullptr) t_legacyUi->ShowMessage(text, MessageKind::Plain);
}

}  // namespace

std::string CameraFunctions::CommandIniPath() const {
    return doc_.StartupFilePath(CoreText::kNamedCommandFile);
}

void CameraFunctions::ReportPortError(std::string text) {
    doc_.LogMessage(std::move(text));
}

void CameraFunctions::ShowMessage(const std::string& text) {
    if (doc_.UserInterface() != nullptr)
        doc_.UserInterface()->ShowMessage(text, MessageKind::Plain);
}

bool CameraFunctions::RunCameraFunction(std::string_view name) {
    const CameraFunctionEntry entry = ReadCameraFunctionEntry(CommandIniPath(), name);
    if (entry.readFlag) {
        if (entry.commandId == kLegacyTableRead) return LegacyTableTransfer(false);
        return ReadImageTable(entry.commandId, entry.count, name);
    }
    if (entry.commandId == kLegacyOnePixel) return LegacyOnePixelWrite();
    if (entry.commandId == kLegacyTableWrite) return LegacyTableTransfer(true);

    const bool kernel1 = doc_.CameraKernel == 1;
    const bool sent = PortCall([&](const ProtocolApi& api, int32_t type, int32_t port) {
        return kernel1
                   ? api.CommandPort2(type, port, entry.commandId, entry.count, entry.data.data())
                   : api.CommandPort(type, port, entry.commandId, entry.count, entry.data.data());
    });
    if (!sent) {
        ReportPortError(FormatText(DataOpsText::kSendingFailed, unsigned{entry.commandId},
                                   doc_.PortName().c_str()));
    }
    return sent;
}

bool CameraFunctions::WriteFpnPrnuTables() {
    doc_.StartPollTimer();
    return RunCameraFunction(CommandName::kFPNPRNUWrite);
}

bool CameraFunctions::ReadFpnPrnuTables() {
    doc_.StartPollTimer();
    return RunCameraFunction(CommandName::kFPNPRNURead);
}

bool CameraFunctions::SetOnePixel() {
    IUserInterface* ui = doc_.UserInterface();
    if (ui == nullptr || !ui->RunPixelSetDialog(PixelRequest)) return false;
    // Busy for the write only: the dialog is modal by itself and the camera idle meanwhile.
    BusyScope busy(doc_);
    return RunCameraFunction(CommandName::kOnePixelWrite);
}

bool CameraFunctions::LegacyTableTransfer(bool write) {
    const std::string fpn = doc_.StartupFilePath(DataOpsText::kFpnTableFile);
    const std::string prnu = doc_.StartupFilePath(DataOpsText::kPrnuTableFile);
    const char* const files[2] = {fpn.c_str(), prnu.c_str()};
    // The library's own messages report its failures, in the program's message boxes; its
    // progress cannot cancel the transfer, which runs as one call. The port lock is held for
    // this one call too: without it an LED poll would put its frames between the transfer's.
    progressStoppable_ = false;
    IUserInterface* ui = doc_.UserInterface();
    return PortCall([&](const ProtocolApi& api, int32_t type, int32_t port) {
        const bool reports = progress_ && api.SetProgressHandler;
        const bool tells = ui != nullptr && api.SetMessageHandler;
        if (reports) {
            t_legacyProgress = &progress_;
            api.SetProgressHandler(&LegacyProgress);
        }
        if (tells) {
            t_legacyUi = ui;
            api.SetMessageHandler(&LegacyMessage);
        }
        const int32_t result = api.TableReadWriteOld4T5500(type, port, write ? 1 : 0, files);
        if (tells) {
            api.SetMessageHandler(nullptr);
            t_legacyUi = nullptr;
        }
        if (reports) {
            api.SetProgressHandler(nullptr);
            t_legacyProgress = nullptr;
        }
        return result;
    });
}

bool CameraFunctions::LegacyOnePixelWrite() {
    const OnePixelRequest request = PixelRequest;
    // The camera's pixel map knows pixels 1 to 8160 only; anything else is not sent at all.
    if (request.PixelNumber < 1 || request.PixelNumber > kLegacyPixels) {
        ShowMessage(
            FormatText(DataOpsText::kPixelOutOfRange,
                       static_cast<long long>(static_cast<int32_t>(request.PixelNumber - 1u))));
        return false;
    }
    const bool sent = PortCall([&](const ProtocolApi& api, int32_t type, int32_t port) {
        return api.OnePixelWriteOld4T5500(type, port, static_cast<uint8_t>(request.TableKind),
                                          static_cast<uint16_t>(request.PixelNumber),
                                          static_cast<uint16_t>(request.Value));
    });
    if (!sent) {
        ReportPortError(FormatText(DataOpsText::kSendingFailed, unsigned{kLegacyOnePixel},
                                   doc_.PortName().c_str()));
    }
    return sent;
}

}  // namespace velterra
