#include "ParameterStore.h"

#include <algorithm>
#include <filesystem>

#include "IniFile.h"
#include "SimTexts.h"
#include "TextFormat.h"
#include "core/ConfigParsers.h"

namespace velterra::sim {

namespace {

constexpr const char* kValuesSection = "Simulator";

std::vector<uint8_t> InitialBytes(const ParameterDefinition& definition) {
    switch (definition.kind) {
        case ParameterKind::kNumber:
            return NumberBytes(definition.min, definition.length);
        case ParameterKind::kList:
            return NumberBytes(definition.items.empty() ? 0 : definition.items.front().Value,
                               definition.length);
        case ParameterKind::kText:
            break;
    }
    return std::vector<uint8_t>(definition.length, 0);
}

// Largest number `length` bytes can carry.
uint64_t LargestNumber(std::size_t length) {
    return length >= 4 ? 0xFFFFFFFFull : (1ull << (8 * length)) - 1;
}

// A number text ("0x.." hexadecimal, else decimal) that is a number as a whole: "12abc" is a
// typing error, not 12, and a sign is not taken.
bool ParseWholeNumber(const std::string& text, uint64_t& value) {
    const NumberText number = ReadNumberText(LowerCase(text));
    if (!number.hasDigits || number.outOfRange) return false;
    const bool hex = number.hexadecimal;
    for (std::size_t i = hex ? 2 : 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool digit =
            (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
        if (!digit) return false;
    }
    value = number.value;
    return true;
}

}  // namespace

const char* RefusalText(WriteRefusal refusal) {
    switch (refusal) {
        case WriteRefusal::kNone:
            return "stored";
        case WriteRefusal::kUnknown:
            return "unknown command";
        case WriteRefusal::kReadOnly:
            return "read-only";
        case WriteRefusal::kWrongLength:
            return "wrong length";
        case WriteRefusal::kOutOfRange:
            return "out of range";
        case WriteRefusal::kNoSuchItem:
            return "no such list item";
    }
    return "";
}

std::vector<uint8_t> NumberBytes(uint32_t value, std::size_t length) {
    std::vector<uint8_t> bytes(length, 0);
    for (std::size_t i = 0; i < length && i < 4; ++i) {
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    }
    return bytes;
}

uint32_t BytesNumber(std::span<const uint8_t> bytes) {
    uint32_t value = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i) {
        value |= uint32_t{bytes[i]} << (8 * i);
    }
    return value;
}

void ParameterStore::Reset(const std::vector<ParameterDefinition>& parameters) {
    values_.clear();
    for (const auto& definition : parameters)
        values_[definition.commandId] = Entry{&definition, InitialBytes(definition)};
}

std::optional<std::vector<uint8_t>> ParameterStore::Value(uint8_t commandId) const {
    const auto it = values_.find(commandId);
    if (it == values_.end()) return std::nullopt;
    return it->second.bytes;
}

WriteRefusal ParameterStore::Write(uint8_t commandId, std::span<const uint8_t> data) {
    const auto it = values_.find(commandId);
    if (it == values_.end()) return WriteRefusal::kUnknown;
    const ParameterDefinition& definition = *it->second.definition;
    if (!definition.writable) return WriteRefusal::kReadOnly;
    if (data.size() != definition.length) return WriteRefusal::kWrongLength;
    if (definition.kind == ParameterKind::kNumber) {
        // Bytes beyond the fourth cannot be part of a number; they must be zero.
        const bool highBytesClear =
            std::all_of(data.begin() + std::min<std::size_t>(4, data.size()), data.end(),
                        [](uint8_t b) { return b == 0; });
        const uint32_t value = BytesNumber(data);
        if (!highBytesClear || value < definition.min || value > definition.max) {
            return WriteRefusal::kOutOfRange;
        }
    } else if (definition.kind == ParameterKind::kList && !definition.items.empty()) {
        const bool known = std::any_of(definition.items.begin(), definition.items.end(),
                                       [&](const ListItem& item) { return item.Value == data[0]; });
        if (!known) return WriteRefusal::kNoSuchItem;
    }
    it->second.bytes.assign(data.begin(), data.end());
    return WriteRefusal::kNone;
}

bool ParameterStore::Set(uint8_t commandId, std::span<const uint8_t> data) {
    const auto it = values_.find(commandId);
    if (it == values_.end()) return false;
    std::vector<uint8_t> bytes(it->second.definition->length, 0);
    std::copy_n(data.begin(), std::min(data.size(), bytes.size()), bytes.begin());
    it->second.bytes = std::move(bytes);
    return true;
}

bool ParameterStore::ApplyValuesFile(const std::string& path, const std::string& model,
                                     std::vector<std::string>& problems) {
    const IniFile file = IniFile::Load(path);
    if (!file.Exists()) return false;
    const IniFile::Section* section = file.FindSection(kValuesSection);
    if (!section) return true;
    for (const auto& entry : section->entries) {
        const std::string key = LowerCase(entry.key);
        const NumberText id = ReadNumberText(key);
        uint64_t idValue = 0;
        if (!id.hexadecimal || !ParseWholeNumber(key, idValue) || idValue > 0xFF) {
            problems.push_back(FormatText(text::kValueBadKey, entry.key.c_str()));
            continue;
        }
        const auto commandId = static_cast<uint8_t>(idValue);
        const auto it = values_.find(commandId);
        if (it == values_.end()) {
            problems.push_back(
                FormatText(text::kValueUnknownId, unsigned{commandId}, model.c_str()));
            continue;
        }
        const ParameterDefinition& definition = *it->second.definition;
        const std::string value = file.GetString(kValuesSection, entry.key, "");
        if (definition.kind == ParameterKind::kText) {
            Set(commandId, std::span(reinterpret_cast<const uint8_t*>(value.data()), value.size()));
            continue;
        }
        if (definition.kind == ParameterKind::kList) {
            const auto item = std::find_if(definition.items.begin(), definition.items.end(),
                                           [&](const ListItem& i) { return i.Text == value; });
            if (item != definition.items.end()) {
                Set(commandId, NumberBytes(item->Value, definition.length));
                continue;
            }
        }
        uint64_t number = 0;
        if (value.empty() || !ParseWholeNumber(value, number) ||
            number > LargestNumber(definition.length)) {
            problems.push_back(
                FormatText(definition.kind == ParameterKind::kList ? text::kValueBadItem
                                                                   : text::kValueBadNumber,
                           value.c_str(), unsigned{commandId}, int{definition.length}));
            continue;
        }
        Set(commandId, NumberBytes(static_cast<uint32_t>(number), definition.length));
    }
    return true;
}

}  // namespace velterra::sim
