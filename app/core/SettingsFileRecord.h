#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CommandTable.h"

namespace velterra {

class SettingsFileArchive;

// One parameter record of a settings file: command id, length byte n, n value bytes.
struct SettingsRecord {
    // A value the table can take is at most as long as ValueText's 64 bytes.
    static constexpr std::size_t kMaxValueBytes = 64;

    uint8_t CommandID = 0;
    uint8_t Length = 0;
    // Room for any length byte, so an over-long record is read in full and never overruns.
    std::array<uint8_t, 255> Data{};

    bool Fits() const { return Length <= kMaxValueBytes; }
    std::span<const uint8_t> Bytes() const { return {Data.data(), Length}; }
};

enum class RecordRead {
    kComplete,   // id, length and all n bytes
    kTruncated,  // the file ended inside the record; Length and Data hold what arrived
    kEnd,        // nothing left
};

// Reads the next record. After kTruncated, `present` (when given) says how many value bytes
// arrived (0 also when the length byte itself is missing).
RecordRead ReadSettingsRecord(SettingsFileArchive& archive, SettingsRecord& record,
                              std::size_t* present = nullptr);

// The record a parameter is stored as, or none: read-only parameters, lists without items and
// lists whose value text names no item are not stored.
std::optional<std::vector<uint8_t>> EncodeSettingsRecord(const CommandInfo& command);

// What a record makes of a parameter, without changing it.
struct DecodedValue {
    enum class Kind {
        kNumber,       // ValueText, CharLength (and PureTextValue 0) as below
        kText,         // ValueText, CharLength; PureTextValue becomes 1 if it was 0
        kListItem,     // ValueText is the item's text
        kListNoMatch,  // no item has the byte: ValueText keeps its text
        kListEmpty,    // a list without items: the record is skipped
    };
    Kind kind = Kind::kNumber;
    std::string valueText;
};
DecodedValue DecodeSettingsValue(const CommandInfo& command, const SettingsRecord& record);

}  // namespace velterra
