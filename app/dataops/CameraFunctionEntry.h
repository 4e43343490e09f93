#pragma once
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace velterra {

// One Command.ini section as the function runner reads it: CommandID and the data keys by the
// runner's number syntax, low 8 bits; Bytes with bit 7 the read flag and bits 0-6 the count.
// Missing keys read as 0. The file is read afresh on every call.
struct CameraFunctionEntry {
    uint8_t commandId = 0;
    bool readFlag = false;
    uint8_t count = 0;          // 0 to 127
    std::vector<uint8_t> data;  // write functions only: count bytes from keys "0", "1", ...
};

CameraFunctionEntry ReadCameraFunctionEntry(const std::filesystem::path& commandIni,
                                            std::string_view section);

// The low 8 bits of a CommandID or data text: "0x" (lower-case x) and at least one more
// character is hexadecimal, anything else signed decimal (no leading digits gives 0).
uint8_t FunctionNumberByte(std::string_view text);

}  // namespace velterra
