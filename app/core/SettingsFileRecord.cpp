#include "SettingsFileRecord.h"

#include <algorithm>
#include <string_view>

#include "ConfigParsers.h"
#include "SettingsFileArchive.h"

namespace velterra {

namespace {

// Numbers go on the wire and into files with at most 4 bytes.
constexpr std::size_t kNumberBytes = 4;

}  // namespace

RecordRead ReadSettingsRecord(SettingsFileArchive& archive, SettingsRecord& record,
                              std::size_t* present) {
    if (present != nullptr) *present = 0;
    uint8_t head[2] = {};
    const std::size_t got = archive.ReadBytes(head, 2);
    if (got == 0) return RecordRead::kEnd;
    record.CommandID = head[0];
    record.Length = got == 2 ? head[1] : 0;
    if (got < 2) return RecordRead::kTruncated;
    const std::size_t arrived = archive.ReadBytes(record.Data.data(), record.Length);
    if (present != nullptr) *present = arrived;
    return arrived == record.Length ? RecordRead::kComplete : RecordRead::kTruncated;
}

std::optional<std::vector<uint8_t>> EncodeSettingsRecord(const CommandInfo& command) {
    if (command.EnableRW == 0) return std::nullopt;
    std::vector<uint8_t> bytes{command.CommandID};
    if (command.EnableList != 0) {
        const auto item =
            std::find_if(command.ListItems.begin(), command.ListItems.end(),
                         [&](const ListItem& i) { return i.Text == command.ValueText; });
        if (item == command.ListItems.end()) return std::nullopt;
        bytes.push_back(1);
        bytes.push_back(item->Value);
        return bytes;
    }
    const std::size_t n = command.CharLength;
    bytes.push_back(command.CharLength);
    if (command.PureTextValue != 0) {
        for (std::size_t i = 0; i < n; ++i) {
            bytes.push_back(i < command.ValueText.size()
                                ? static_cast<uint8_t>(command.ValueText[i])
                                : uint8_t{0});
        }
        return bytes;
    }
    // "[N/A]" and other texts without leading digits read as 0.
    const uint32_t value = ValueTextNumber(command.ValueText);
    for (std::size_t i = 0; i < n; ++i) {
        bytes.push_back(i < kNumberBytes ? static_cast<uint8_t>(value >> (8 * i)) : uint8_t{0});
    }
    return bytes;
}

DecodedValue DecodeSettingsValue(const CommandInfo& command, const SettingsRecord& record) {
    DecodedValue decoded;
    const std::span<const uint8_t> bytes = record.Bytes();
    if (command.EnableList != 0) {
        if (command.ListItems.empty()) {
            decoded.kind = DecodedValue::Kind::kListEmpty;
            return decoded;
        }
        // A record without value bytes names no item.
        const auto item =
            bytes.empty() ? command.ListItems.end()
                          : std::find_if(command.ListItems.begin(), command.ListItems.end(),
                                         [&](const ListItem& i) { return i.Value == bytes[0]; });
        if (item == command.ListItems.end()) {
            decoded.kind = DecodedValue::Kind::kListNoMatch;
            decoded.valueText = command.ValueText;
            return decoded;
        }
        decoded.kind = DecodedValue::Kind::kListItem;
        decoded.valueText = item->Text;
        return decoded;
    }
    if (command.PureTextValue != 0 || bytes.size() > kNumberBytes) {
        decoded.kind = DecodedValue::Kind::kText;
        const auto* text = reinterpret_cast<const char*>(bytes.data());
        const std::size_t length = std::find(text, text + bytes.size(), '\0') - text;
        decoded.valueText.assign(text, std::min(length, kTableTextChars));
        return decoded;
    }
    uint32_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) value = (value << 8) | bytes[i];
    decoded.kind = DecodedValue::Kind::kNumber;
    decoded.valueText = std::to_string(value);
    return decoded;
}

}  // namespace velterra
