#include "CameraFunctionEntry.h"

#include <string>

#include "IniProfile.h"
#include "core/ConfigKeys.h"
#include "core/ConfigParsers.h"

namespace velterra {

namespace {

// CommandID and the data keys are read into 64-byte buffers.
constexpr std::size_t kValueBufferSize = ConfigKey::kCommandIdBufferSize;
constexpr int kReadFlag = 0x80;
constexpr int kCountMask = 0x7F;

}  // namespace

uint8_t FunctionNumberByte(std::string_view text) {
    // Not lower-cased first: "0X1F" reads as decimal, that is 0.
    return static_cast<uint8_t>(ParseNumberText(text) & 0xFF);
}

CameraFunctionEntry ReadCameraFunctionEntry(const std::filesystem::path& commandIni,
                                            std::string_view section) {
    CameraFunctionEntry entry;
    entry.commandId = FunctionNumberByte(
        ReadProfileString(section, ConfigKey::kCommandID, "0", commandIni, kValueBufferSize));
    const int32_t bytes = ReadProfileInt(section, ConfigKey::kBytes, 0, commandIni);
    entry.readFlag = (bytes & kReadFlag) != 0;
    entry.count = static_cast<uint8_t>(bytes & kCountMask);
    if (!entry.readFlag) {
        for (int i = 0; i < entry.count; ++i) {
            entry.data.push_back(FunctionNumberByte(
                ReadProfileString(section, std::to_string(i), "0", commandIni, kValueBufferSize)));
        }
    }
    return entry;
}

}  // namespace velterra
