#include "MenuFunctions.h"

#include "BusyScope.h"
#include "core/CommandNames.h"

namespace velterra {

namespace {

MenuRun Outcome(bool ok) {
    return ok ? MenuRun::Done : MenuRun::Failed;
}

}  // namespace

std::string BuiltinFunctionCommand(int code) {
    switch (code) {
        case BuiltinFunction::kFpnPrnuWrite:
            return CommandName::kFPNPRNUWrite;
        case BuiltinFunction::kFpnPrnuRead:
            return CommandName::kFPNPRNURead;
        case BuiltinFunction::kOnePixelSet:
            return CommandName::kOnePixelWrite;
        case BuiltinFunction::kBadPixelsWrite:
        case BuiltinFunction::kBadPixelsRead:
            return CommandName::kBadPixelsPos;
        default:
            return {};
    }
}

MenuRun RunBuiltinFunction(CameraFunctions& functions, int code) {
    CVelterraDoc& doc = functions.Document();
    constexpr int kLimit = CameraFunctions::kBadPixelLimit;
    switch (code) {
        case BuiltinFunction::kRefreshAll:
            // The refresh sets Busy itself.
            doc.RefreshAll();
            return MenuRun::Done;
        case BuiltinFunction::kFlatField:
        case BuiltinFunction::kLutWrite:
        case BuiltinFunction::kLutRead:
        case BuiltinFunction::kLutDialog:
            return MenuRun::OtherPart;
        case BuiltinFunction::kFpnPrnuWrite: {
            BusyScope busy(doc);
            return Outcome(functions.WriteFpnPrnuTables());
        }
        case BuiltinFunction::kFpnPrnuRead: {
            BusyScope busy(doc);
            return Outcome(functions.ReadFpnPrnuTables());
        }
        case BuiltinFunction::kOnePixelSet:
            return Outcome(functions.SetOnePixel());
        case BuiltinFunction::kBadPixelsWrite: {
            BusyScope busy(doc);
            return Outcome(functions.WriteBadPixels(kLimit, kLimit));
        }
        case BuiltinFunction::kBadPixelsRead: {
            BusyScope busy(doc);
            return Outcome(functions.ReadBadPixels(kLimit, kLimit));
        }
        default:
            if (doc.UserInterface() != nullptr) {
                doc.UserInterface()->ShowMessage(kFunctionNotSupported, MessageKind::Plain);
            }
            return MenuRun::Unsupported;
    }
}

MenuRun RunCommandEntry(CameraFunctions& functions, const std::string& name, uint8_t refreshFlag) {
    CVelterraDoc& doc = functions.Document();
    doc.StartPollTimer();
    bool ok = false;
    {
        BusyScope busy(doc);
        ok = functions.RunCameraFunction(name);
    }
    if (refreshFlag & 1) doc.RefreshRequested = true;
    return Outcome(ok);
}

}  // namespace velterra
