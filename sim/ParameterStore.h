// The value of every parameter of the model, as the bytes the camera sends for it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CameraConfig.h"

namespace velterra::sim {

enum class WriteRefusal { kNone, kUnknown, kReadOnly, kWrongLength, kOutOfRange, kNoSuchItem };

// Short word for logs ("read-only", "out of range", ...).
const char* RefusalText(WriteRefusal refusal);

class ParameterStore {
  public:
    // Initial values: the minimum of a number, the first item of a list, an empty text.
    void Reset(const std::vector<ParameterDefinition>& parameters);

    bool Has(uint8_t commandId) const { return values_.count(commandId) != 0; }
    std::optional<std::vector<uint8_t>> Value(uint8_t commandId) const;
    // Stores the bytes of a write from the host when the parameter accepts them.
    WriteRefusal Write(uint8_t commandId, std::span<const uint8_t> data);
    // Stores bytes without the host's checks (tests, values file); false for an unknown id.
    bool Set(uint8_t commandId, std::span<const uint8_t> data);

    // Reads the [Simulator] section of a values file: keys "0xNN", values as the program
    // shows them (decimal number, text, list item text; a list also takes a number, so that
    // a value matching no item can be served). Good values are applied and the entries that
    // could not be are described in *problems; false when the file cannot be read.
    bool ApplyValuesFile(const std::string& path, const std::string& model,
                         std::vector<std::string>& problems);

  private:
    struct Entry {
        const ParameterDefinition* definition = nullptr;
        std::vector<uint8_t> bytes;
    };
    std::map<uint8_t, Entry> values_;
};

// Little-endian bytes of a number, `length` bytes long (at most 4 carry the value).
std::vector<uint8_t> NumberBytes(uint32_t value, std::size_t length);
// The number in the first (up to 4) little-endian bytes.
uint32_t BytesNumber(std::span<const uint8_t> bytes);

}  // namespace velterra::sim
