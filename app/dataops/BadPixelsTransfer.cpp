// Bad-pixel positions between the camera and BadPixels.txt; camera kernel type 1 only.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "BadPixelsFile.h"
#include "CameraFunctionEntry.h"
#include "CameraFunctions.h"
#include "DataOpsTexts.h"
#include "ReplaceFile.h"
#include "core/CommandNames.h"
#include "core/FormatText.h"

namespace velterra {

bool CameraFunctions::ReadBadPixels(int even, int odd) {
    const std::size_t size = BadPixels::BlockSize(even, odd);
    if (size == 0) return false;
    const uint8_t id =
        ReadCameraFunctionEntry(CommandIniPath(), CommandName::kBadPixelsPos).commandId;
    std::vector<uint8_t> block(size, 0);
    const bool kernel1 = doc_.CameraKernel == 1;
    // A kernel-0 camera has no bad-pixel transfer: it fails without an exchange.
    const bool read =
        kernel1 && PortCall([&](const ProtocolApi& api, int32_t type, int32_t port) {
            return api.ReadWritePort2(type, port, 0, id, 0, nullptr, static_cast<uint16_t>(size),
                                      nullptr, block.data());
        });
    if (!read) {
        ReportPortError(
            FormatText(DataOpsText::kBadPixelsReadFailed, unsigned{id}, doc_.PortName().c_str()));
        return false;
    }
    // The file is the only record of the list: a block the camera got wrong leaves the file
    // as it was rather than empty or half written.
    const BadPixels::Conversion file = BadPixels::TextOfBlock(block, even, odd);
    if (!file.ok) {
        ShowMessage(file.message);
        return false;
    }
    switch (ReplaceFileText(doc_.StartupFilePath(DataOpsText::kBadPixelsFile), file.text)) {
        case FileWriteResult::Done:
            return true;
        case FileWriteResult::OpenFailed:
            ShowMessage(DataOpsText::kFileOpenFail);
            return false;
        case FileWriteResult::CloseFailed:
            ShowMessage(DataOpsText::kFileCloseFail);
            return false;
    }
    return false;
}

bool CameraFunctions::WriteBadPixels(int even, int odd) {
    const std::string path = doc_.StartupFilePath(DataOpsText::kBadPixelsFile);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ShowMessage(FormatText(DataOpsText::kFileCannotOpen, path.c_str(), std::strerror(errno)));
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        ShowMessage(FormatText(DataOpsText::kFileCannotOpen, path.c_str(), std::strerror(errno)));
        return false;
    }
    in.close();
    const BadPixels::Conversion file = BadPixels::BlockOfText(text, even, odd);
    if (!file.ok) {
        ShowMessage(file.message);
        return false;
    }
    const uint8_t id =
        ReadCameraFunctionEntry(CommandIniPath(), CommandName::kBadPixelsPos).commandId;
    const bool kernel1 = doc_.CameraKernel == 1;
    const bool written =
        kernel1 && PortCall([&](const ProtocolApi& api, int32_t type, int32_t port) {
            return api.ReadWritePort2(type, port, 1, id, static_cast<uint16_t>(file.block.size()),
                                      file.block.data(), 0, nullptr, nullptr);
        });
    if (!written) {
        ReportPortError(
            FormatText(DataOpsText::kBadPixelsWriteFailed, unsigned{id}, doc_.PortName().c_str()));
        return false;
    }
    return true;
}

}  // namespace velterra
