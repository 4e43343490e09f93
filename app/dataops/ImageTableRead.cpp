// The legacy camera's image table: 136 chunks read by position, kept in pixel order and, for
// the image read command 0xC8, written to ImageTable.txt.

#include "CameraFunctions.h"
#include "DataOpsTexts.h"
#include "ReplaceFile.h"
#include "core/FormatText.h"

namespace velterra {

namespace {

constexpr uint8_t kReadPosition = 0xC7;
constexpr uint8_t kImageRead = 0xC8;
constexpr int kPixels = 8160;
constexpr int kTaps = 4;
constexpr int kBlocks = 17;
constexpr int kBlockPositions = 120;
constexpr int kHalfPositions = 60;
constexpr int kChunkBytes = 2 * kHalfPositions;
constexpr int kChunksPerPass = kTaps * kBlocks * 2;
constexpr int kValuesPerLine = 10;

// 0-based pixel of tap position j: taps 1 and 2 take the even and odd pixels of the left
// half from the left, taps 3 and 4 the odd and even pixels of the right half from the right.
int PixelOf(int tap, int j) {
    switch (tap) {
        case 1:
            return 2 * j;
        case 2:
            return 2 * j + 1;
        case 3:
            return kPixels - 1 - 2 * j;
        default:
            return kPixels - 2 - 2 * j;
    }
}

std::string ImageTableText(const std::vector<uint16_t>& image) {
    std::string text;
    text.reserve(image.size() * 7);
    for (std::size_t i = 0; i < image.size(); ++i) {
        text += std::to_string(image[i]);
        text += '\t';
        if ((i + 1) % kValuesPerLine == 0) text += '\n';
    }
    return text;
}

}  // namespace

bool CameraFunctions::ReadImagePass(uint8_t commandId, int chunkLength, uint8_t selector,
                                    int passIndex, int passes, std::vector<uint16_t>& image) {
    int done = passIndex * kChunksPerPass;
    for (int tap = 1; tap <= kTaps; ++tap) {
        for (int block = 0; block < kBlocks; ++block) {
            for (int half = 0; half < 2; ++half) {
                // Stopped by the user, or by the program ending (a signal): the file stays.
                if (progress_ && !progress_(done, passes * kChunksPerPass)) return false;
                if (doc_.ExchangeRuns.StopRequested()) return false;
                const uint8_t record[4] = {selector, static_cast<uint8_t>(tap),
                                           static_cast<uint8_t>(block), static_cast<uint8_t>(half)};
                // The position goes out with the 8-bit-length call whatever the kernel type.
                if (!PortCall([&](const ProtocolApi& api, int32_t type, int32_t port) {
                        return api.CommandPort(type, port, kReadPosition, sizeof record, record);
                    })) {
                    ReportPortError(FormatText(DataOpsText::kSendingFailed, unsigned{kReadPosition},
                                               doc_.PortName().c_str()));
                    return false;
                }
                std::vector<uint8_t> chunk(static_cast<std::size_t>(chunkLength), 0);
                if (!PortCall([&](const ProtocolApi& api, int32_t type, int32_t port) {
                        return api.ReadWritePort(type, port, 0, commandId,
                                                 static_cast<uint8_t>(chunkLength), chunk.data());
                    })) {
                    ReportPortError(FormatText(DataOpsText::kReadingFailed, unsigned{commandId},
                                               doc_.PortName().c_str()));
                    return false;
                }
                const int first = kBlockPositions * block + kHalfPositions * half;
                for (int k = 0; k < kHalfPositions; ++k) {
                    const auto at = static_cast<std::size_t>(2 * k);
                    image[static_cast<std::size_t>(PixelOf(tap, first + k))] =
                        static_cast<uint16_t>(chunk[at] | (chunk[at + 1] << 8));
                }
                ++done;
            }
        }
    }
    if (progress_) progress_(done, passes * kChunksPerPass);
    return true;
}

bool CameraFunctions::ReadImageTable(uint8_t commandId, int chunkLength, std::string_view name) {
    // Every chunk is decoded as 60 values; any other length would read past the chunk or
    // leave values unread, so such a Command.ini entry is refused before the first exchange.
    if (chunkLength != kChunkBytes) {
        ShowMessage(FormatText(DataOpsText::kChunkLengthRefused, unsigned{commandId},
                               std::string(name).c_str(), chunkLength));
        return false;
    }
    progressStoppable_ = true;
    std::vector<uint16_t> image(kPixels, 0);
    if (commandId != kImageRead) {
        // The data of other read commands is not kept; both table selectors are read.
        return ReadImagePass(commandId, chunkLength, 0, 0, 2, image) &&
               ReadImagePass(commandId, chunkLength, 1, 1, 2, image);
    }
    if (!ReadImagePass(commandId, chunkLength, 0, 0, 1, image)) return false;
    switch (ReplaceFileText(doc_.StartupFilePath(DataOpsText::kImageTableFile),
                            ImageTableText(image))) {
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

}  // namespace velterra
