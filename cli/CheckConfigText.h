#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace velterra {

// Texts of velterra-cli check-config, one finding each.
namespace ConfigCheckText {

// Entry numbers walked one by one at most; counts beyond are far past any written entry.
inline constexpr int32_t kEntryWalkLimit = 4096;

inline std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}
inline std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}
inline std::string N(int64_t value) {
    return std::to_string(value);
}

// Every file
inline constexpr const char* kFileNotFound = "file not found";
inline std::string SectionRepeated(int first) {
    return "section repeated (first at line " + N(first) + "): only the first is read";
}
inline std::string KeyRepeated(int first) {
    return "key repeated (first at line " + N(first) + "): only the first is read";
}
inline std::string ValueCut(std::size_t length) {
    return "value of " + N(static_cast<int64_t>(length)) +
           " characters: only the first 127 are read";
}
inline std::string LevelWord(const std::string& text, int32_t level) {
    return Quoted(text) + " is not TRUE, FALSE, admin or a number: it reads as " + N(level);
}
inline std::string EntryBeyondCount(const char* countKey, int32_t count) {
    return std::string("entry beyond ") + countKey + " (" + N(count) + ") is never read";
}
inline std::string NotANumber(const std::string& text) {
    return Quoted(text) + " is not a number: it reads as 0";
}
inline std::string LowByteOnly(uint32_t value) {
    return N(value) + " is above 255: only the low 8 bits (" + Hex(value & 0xFF) + ") are used";
}
inline std::string NameCut(const char* what) {
    return std::string(what) + " longer than 63 characters is cut";
}

// CAM_VL.ini
inline std::string NoModelEntries(int32_t count) {
    return "MaxBranchTypeNum is " + N(count) + ": no model can be found";
}
inline std::string ModelEntryMissing(int32_t count) {
    return "model entry missing (MaxBranchTypeNum is " + N(count) + ")";
}
inline constexpr const char* kFewerThanFourQuotes =
    "fewer than four double quotes: the entry is skipped";
inline constexpr const char* kEmptyModelName = "model name is empty";
inline std::string ModelRepeated(int32_t first) {
    return "model name already at entry " + N(first) + ": this entry is never used";
}
inline constexpr const char* kNoModelFile =
    "no model command file named: identification of this model fails";
inline std::string ModelFileMissing(const std::string& name) {
    return "model command file " + Quoted(name) + " not found";
}
inline constexpr const char* kModelCommandMissing =
    "missing: the model text is read with command 0";
inline std::string ModelTextLength(int32_t length) {
    return "CharLength " + N(length) + ": reading the model text needs 1 to 127 bytes";
}
inline constexpr const char* kNoModelTexts = "no model texts: no camera can be identified";
inline std::string ModelTextTooLong(int32_t length) {
    return "model text longer than CharLength (" + N(length) + "): no camera can return it";
}
inline std::string EntryNumberNotANumber(const std::string& text) {
    return "entry number " + Quoted(text) + " is not a number: it reads as 0";
}
inline constexpr const char* kUnknownModelNumber =
    "negative entry number: the camera counts as an unknown model";
inline std::string EntryPointsNowhere(int32_t number) {
    return "points at Branch_Type entry " + N(number) + ", which does not exist";
}
inline std::string EntryDoesNotParse(int32_t number) {
    return "points at Branch_Type entry " + N(number) + ", which does not parse";
}
inline std::string EntryWithoutFile(int32_t number) {
    return "points at Branch_Type entry " + N(number) + ", which names no model command file";
}
inline constexpr const char* kNeverIdentified =
    "no Model_Info_DB text points at this entry: no camera is identified as this model";

// Model command files
inline std::string LoadFails(const std::string& reason) {
    return "the file fails to load: " + reason;
}
inline constexpr const char* kIgnoredForColour =
    "ignored: a colour camera always has 8 bits and 3 taps";
inline std::string MenuDatabaseMissing(const std::string& name) {
    return "menu database " + Quoted(name) + " not found";
}
inline std::string MenuDatabaseFails(const std::string& name, const std::string& error) {
    return "menu database " + Quoted(name) + " does not load: " + error;
}
inline constexpr const char* kBlockEntryMissing =
    "block entry missing: the block is shown as [Unknown] without rows";
inline constexpr const char* kBlockEntryUnparsable =
    "block entry does not parse (section name, then a quoted display name): the block is "
    "shown as [Unknown] without rows";
inline constexpr const char* kBlockSectionMissing = "block section missing: the block has no rows";
inline std::string NoRows(int32_t count) {
    return "MaxRowInfoNum is " + N(count) + ": the block has no rows";
}
inline constexpr const char* kRowEntryMissing =
    "row entry missing: the row is shown as [Unknown] without a command";
inline constexpr const char* kRowEntryUnparsable =
    "row entry does not parse (section name, then a quoted display name): the row is shown as "
    "[Unknown] without a command";
inline constexpr const char* kCommandSectionMissing =
    "command section missing: every key takes its default";

// What is said about a block entry and about a row entry.
struct NamedEntryTexts {
    const char* missing;
    const char* unparsable;
    const char* sectionMissing;
};
inline constexpr NamedEntryTexts kBlockEntry{kBlockEntryMissing, kBlockEntryUnparsable,
                                             kBlockSectionMissing};
inline constexpr NamedEntryTexts kRowEntry{kRowEntryMissing, kRowEntryUnparsable,
                                           kCommandSectionMissing};
inline std::string ListWithoutItems(int32_t count) {
    return "ListNum is " + N(count) + ": the list has no items";
}
inline constexpr const char* kItemMissing = "list item missing: value 0 with an empty text";
inline constexpr const char* kItemUnparsable =
    "list item does not parse (number, then a quoted text): value 0 with an empty text";
inline std::string ItemTextRepeated(int32_t first) {
    return "item text already at item " + N(first) + ": a write sends the first";
}
inline constexpr const char* kCharLengthZero = "CharLength 0: the parameter has no data bytes";
inline std::string NumberBecomesText(int32_t length) {
    return "CharLength " + N(length) + " with PureTextValue FALSE: the parameter is read as text";
}
inline std::string TextTooLong(int32_t length) {
    return "text of " + N(length) + " characters does not fit the 63-character value";
}
inline constexpr const char* kRangeMissing = "MaxMinValue missing: the range is 0 to 0";
inline std::string DecimalOutOfRange(const std::string& text, uint32_t value) {
    return Quoted(text) + " is beyond the signed 32-bit range: it reads as " +
           N(static_cast<int32_t>(value)) + "; write it in hexadecimal";
}
inline std::string MaxBelowMin(uint32_t max, uint32_t min, uint32_t newMax) {
    return "maximum " + N(static_cast<int32_t>(max)) + " is below minimum " +
           N(static_cast<int32_t>(min)) + " as signed numbers: the range becomes 0 to " + N(newMax);
}
inline std::string MaxTooWide(uint32_t max, int32_t bytes) {
    return "maximum " + N(max) + " does not fit in " + N(bytes) + " byte" + (bytes == 1 ? "" : "s");
}
inline std::string UiCommandWide(int32_t value) {
    return N(value) + " is beyond 16 bits: only the low 16 bits are sent";
}

// Command.ini
inline constexpr const char* kCalledSectionMissing =
    "section missing: the program sends this command by name";
inline constexpr const char* kCommandIdMissing = "missing: command 0 is sent";
inline std::string CommandIdCut() {
    return "longer than 63 characters: the rest is not read";
}
inline std::string UpperCasePrefix(const std::string& text) {
    return Quoted(text) + " reads as 0 in the camera functions: write the prefix as 0x";
}
inline std::string BytesBeyondEightBits(int32_t bytes) {
    return N(bytes) + ": only bits 0-7 (count and read flag) are used";
}
inline std::string DataByteMissing(int count) {
    return "data byte missing (Bytes gives " + N(count) + "): 0 is sent";
}
inline std::string LegacyIdExpected(uint32_t id, uint32_t expected) {
    return "command " + Hex(id) + ": this legacy function needs " + Hex(expected);
}
inline std::string ReadFlagExpected(bool read) {
    return read ? "the read flag (0x80) must be set" : "the read flag (0x80) must be clear";
}

}  // namespace ConfigCheckText

}  // namespace velterra
