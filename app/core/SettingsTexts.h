#pragma once

namespace velterra {

// Texts of the settings file (.vlt): its tag, the document-type strings of the file dialogs and
// the messages of a load.
namespace SettingsText {

// First line of every settings file.
inline constexpr const char* kFileTag = "VLT_2_5";

// Document-type strings, field by field, and joined by line feeds in the framework's order.
inline constexpr const char* kWindowTitle = "Velterra";
inline constexpr const char* kDocumentName = "";
inline constexpr const char* kNewDocumentName = "Velterra";
inline constexpr const char* kFilterName = "Velterra Files (*.vlt)";
inline constexpr const char* kFileExtension = ".vlt";
inline constexpr const char* kRegistryTypeId = "VelterraV2.Document";
inline constexpr const char* kTypeName = "Velterra Document";
inline constexpr const char* kDocumentStrings =
    "Velterra\n\nVelterra\nVelterra Files (*.vlt)\n.vlt\nVelterraV2.Document\nVelterra Document";

// Message boxes of a load. The model messages are one text each: the line with the names is
// part of it.
inline constexpr const char* kWrongFormat =
    "This file isn't the format for Velterra V2.5 and below!";
inline constexpr const char* kModelNotFound =
    "Model information isn't in INI files!\r\n(Read file: %s)";
inline constexpr const char* kModelMismatch =
    "Model information is mismatched!\r\n(Read file: %s; Current connection: %s)";

// Connection-log line for a record whose value is longer than a value text can hold: the
// command id, the file name and the record's length byte.
inline constexpr const char* kRecordTooLong =
    "Loading [0x%X] from %s (value of %u bytes, 64 at most) is skipped!";

// Boxes when the file itself cannot be used.
inline constexpr const char* kCannotOpen = "Can't open the file %s!";
inline constexpr const char* kCannotWrite = "Can't write the file %s!";

// "Compare with VLT File...": the box without a camera, the file value of a list record that
// names no item (its byte, or none), and the connection-log lines of a comparison and of
// writing its differences.
inline constexpr const char* kCompareNeedsCamera =
    "No camera is connected! Open a camera to compare it with a settings file.";
inline constexpr const char* kCompareNoItem = "[no item %u]";
inline constexpr const char* kCompareNoValue = "[no value]";
inline constexpr const char* kCompareTooLong =
    "Comparing [0x%X] of %s (value of %u bytes, 64 at most) is skipped!";
inline constexpr const char* kCompareStale =
    "Writing [%s]->[%s] to %s from %s is skipped: the camera or its table changed since the "
    "comparison!";
inline constexpr const char* kCompareNothingToWrite =
    "Writing [%s]->[%s] to %s from %s is skipped: the file's value names no item of the list!";

}  // namespace SettingsText

}  // namespace velterra
