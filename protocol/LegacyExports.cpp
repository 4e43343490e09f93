// Table and one-pixel transfers of the legacy 8160-pixel camera, in its tap layout.
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "BulkBytes.h"
#include "ExportGuard.h"
#include "LegacyCamera.h"
#include "LegacyTableFile.h"
#include "LegacyTexts.h"
#include "MessageHandler.h"
#include "velterradll.h"

using velterra::platform::Guarded;
using namespace velterra::bulk;
using namespace velterra::bulk::legacy;
using namespace velterra::codec::legacy;

namespace {

constexpr int kTables = 2;
constexpr int kHalfBlockBytes = 2 * kHalfBlockLength;
constexpr int kHalfBlocksPerTable = kTaps * kBlocksPerTap * 2;
constexpr int kTransferSteps = kTables * kHalfBlocksPerTable;

void ShowPortFailure(const char* format, uint8_t commandId, int32_t portIndex) {
    // The COM number of the highest index wraps instead of overflowing.
    const auto comNumber = static_cast<int>(static_cast<uint32_t>(portIndex) + 1u);
    char text[128];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(commandId), comNumber);
    ShowLibraryMessage(text);
}

// Shows the message for a file that could not be opened or closed; true when all went well.
bool FileDone(FileResult result) {
    if (result == FileResult::OpenFailed) ShowLibraryMessage(texts::kFileOpenFail);
    if (result == FileResult::CloseFailed) ShowLibraryMessage(texts::kFileCloseFail);
    return result == FileResult::Done;
}

// Calls visit(tap, block, half, first tap position) for the 136 half blocks of a table, in the
// order the camera expects them; stops at the first visit that returns false.
template <class Visit>
bool ForEachHalfBlock(Visit&& visit) {
    for (int tap = 1; tap <= kTaps; ++tap) {
        for (int block = 0; block < kBlocksPerTap; ++block) {
            for (int half = 0; half < 2; ++half) {
                if (!visit(tap, block, half, block * kBlockLength + half * kHalfBlockLength)) {
                    return false;
                }
            }
        }
    }
    return true;
}

bool LoadTable(const char* path, TableValues& values) {
    int numbers = 0;
    if (!FileDone(ReadTableFile(path, values, numbers))) return false;
    if (numbers < kPixels) {
        // Sized to the path, which may be long.
        std::vector<char> text(std::strlen(texts::kFileTooShort) + std::strlen(path) + 16);
        std::snprintf(text.data(), text.size(), texts::kFileTooShort, path, numbers);
        ShowLibraryMessage(text.data());
        return false;
    }
    return true;
}

bool SendTable(int32_t portType, int32_t portIndex, int table, const TableValues& values) {
    int done = table * kHalfBlocksPerTable;
    return ForEachHalfBlock([&](int tap, int block, int half, int first) {
        uint8_t frame[4 + kHalfBlockBytes] = {
            static_cast<uint8_t>(table), static_cast<uint8_t>(tap), static_cast<uint8_t>(block),
            static_cast<uint8_t>(half)};
        for (int i = 0; i < kHalfBlockLength; ++i) {
            const int32_t value = values[static_cast<std::size_t>(*PixelIndexOf(tap, first + i))];
            PutLe16(frame + 4 + 2 * i, static_cast<uint16_t>(value));
        }
        if (tvr_ReadWritePort(portType, portIndex, 1, kWriteHalfBlock, sizeof frame, frame) == 0) {
            ShowPortFailure(texts::kSendingFailed, kWriteHalfBlock, portIndex);
            return false;
        }
        ReportLibraryProgress(++done, kTransferSteps);
        return true;
    });
}

bool ReceiveTable(int32_t portType, int32_t portIndex, int table, TableValues& values) {
    int done = table * kHalfBlocksPerTable;
    return ForEachHalfBlock([&](int tap, int block, int half, int first) {
        uint8_t select[4] = {static_cast<uint8_t>(table), static_cast<uint8_t>(tap),
                             static_cast<uint8_t>(block), static_cast<uint8_t>(half)};
        if (tvr_ReadWritePort(portType, portIndex, 1, kSelectHalfBlock, sizeof select, select) ==
            0) {
            ShowPortFailure(texts::kSendingFailed, kSelectHalfBlock, portIndex);
            return false;
        }
        // Asking for 120 bytes puts 0xF8 (read flag and 120) in the request's length byte, and
        // the reply carries exactly the half block on either transport.
        uint8_t reply[kHalfBlockBytes] = {};
        if (tvr_ReadWritePort(portType, portIndex, 0, kReadHalfBlock, sizeof reply, reply) == 0) {
            ShowPortFailure(texts::kReadingFailed, kReadHalfBlock, portIndex);
            return false;
        }
        for (int i = 0; i < kHalfBlockLength; ++i) {
            values[static_cast<std::size_t>(*PixelIndexOf(tap, first + i))] =
                GetLe16(reply + 2 * i);
        }
        ReportLibraryProgress(++done, kTransferSteps);
        return true;
    });
}

bool WriteTablesToCamera(int32_t portType, int32_t portIndex, const char* const fileNames[2]) {
    // Both files are read before the first frame, so a bad second file leaves the camera as
    // it was instead of holding a new first table and an old second one.
    auto tables = std::make_unique<std::array<TableValues, kTables>>();
    for (int t = 0; t < kTables; ++t) {
        if (!LoadTable(fileNames[t], (*tables)[static_cast<std::size_t>(t)])) return false;
    }
    for (int t = 0; t < kTables; ++t) {
        if (!SendTable(portType, portIndex, t, (*tables)[static_cast<std::size_t>(t)])) {
            return false;
        }
    }
    return true;
}

bool ReadTablesFromCamera(int32_t portType, int32_t portIndex, const char* const fileNames[2]) {
    auto values = std::make_unique<TableValues>();
    for (int t = 0; t < kTables; ++t) {
        if (!ReceiveTable(portType, portIndex, t, *values)) return false;
        if (!FileDone(WriteTableFile(fileNames[t], *values))) return false;
    }
    return true;
}

}  // namespace

int32_t tvr_OnePixelWriteOld4T5500(int32_t portType, int32_t portIndex, uint8_t kind,
                                   uint16_t pixel, uint16_t value) {
    return Guarded([&] {
        const auto where = MapPixel(pixel);
        if (!where) return 0;
        uint8_t payload[6] = {kind, where->tap, where->block, where->position};
        PutLe16(payload + 4, value);
        return tvr_ReadWritePort(portType, portIndex, 1, kWriteOnePixel, sizeof payload, payload) !=
                       0
                   ? 1
                   : 0;
    });
}

int32_t tvr_TableReadWriteOld4T5500(int32_t portType, int32_t portIndex, int32_t writeFlag,
                                    const char* const fileNames[2]) {
    return Guarded([&] {
        if (fileNames == nullptr) return false;
        return writeFlag != 0 ? WriteTablesToCamera(portType, portIndex, fileNames)
                              : ReadTablesFromCamera(portType, portIndex, fileNames);
    });
}
