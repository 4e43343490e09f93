// The connected camera compared with a settings file.
#include "SettingsCompare.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "FormatText.h"
#include "SettingsCompareScope.h"
#include "SettingsFile.h"
#include "SettingsFileArchive.h"
#include "SettingsFileRecord.h"
#include "SettingsTexts.h"
#include "UpdateHints.h"
#include "VelterraDoc.h"

namespace velterra {

namespace SettingsCompare {

namespace {

using Outcome = Comparison::Outcome;

// Numbers travel with at most 4 bytes.
constexpr std::size_t kNumberBytes = 4;

void ShowBox(CVelterraDoc& doc, const std::string& text) {
    if (IUserInterface* ui = doc.UserInterface()) ui->ShowMessage(text, MessageKind::Plain);
}

// The records of the file by command id; a later record of an id replaces an earlier one, as
// it does in a load. False (with the box shown) when the file is not one of the camera's.
bool ReadFile(CVelterraDoc& doc, const std::string& path, Comparison& result,
              std::map<uint8_t, SettingsRecord>& records) {
    std::ifstream in;
    if (!SettingsFile::OpenForReading(doc, path, in)) {
        result.outcome = Outcome::kCannotOpen;
        return false;
    }
    SettingsFileArchive archive(in);
    std::string tag;
    archive.ReadString(tag);
    if (tag != SettingsText::kFileTag) {
        ShowBox(doc, SettingsText::kWrongFormat);
        result.outcome = Outcome::kWrongFormat;
        return false;
    }
    archive.ReadText(result.fileModel);
    if (result.fileModel != doc.ModelName) {
        ShowBox(doc, FormatText(SettingsText::kModelMismatch, result.fileModel.c_str(),
                                doc.ModelName.c_str()));
        result.outcome = Outcome::kModelMismatch;
        return false;
    }
    SettingsRecord record;
    for (;;) {
        const RecordRead read = ReadSettingsRecord(archive, record);
        if (read == RecordRead::kEnd) break;
        if (read == RecordRead::kTruncated) {
            result.truncated = true;
            break;
        }
        if (!record.Fits()) {
            ++result.tooLong;
            doc.LogMessage(FormatText(SettingsText::kCompareTooLong, unsigned{record.CommandID},
                                      result.fileName.c_str(), unsigned{record.Length}));
            continue;
        }
        records[record.CommandID] = record;
    }
    return true;
}

// The file's value of a parameter as the camera would take it, and whether it can be written.
std::string FileValue(const CommandInfo& command, const SettingsRecord& record, bool& writable) {
    writable = true;
    const DecodedValue decoded = DecodeSettingsValue(command, record);
    if (decoded.kind == DecodedValue::Kind::kListNoMatch) {
        writable = false;
        return record.Length == 0
                   ? std::string(SettingsText::kCompareNoValue)
                   : FormatText(SettingsText::kCompareNoItem, unsigned{record.Data[0]});
    }
    if (command.EnableList != 0) return decoded.valueText;
    if (command.PureTextValue != 0) {
        // A write sends CharLength characters: the rest of a longer text never reaches the
        // camera.
        return decoded.valueText.substr(0, command.CharLength);
    }
    // A number row with more than 4 bytes decodes as text; its value is the low 4 bytes, as
    // the camera's reply is read.
    uint32_t value = 0;
    const std::size_t bytes = std::min<std::size_t>(record.Length, kNumberBytes);
    for (std::size_t i = bytes; i-- > 0;) value = (value << 8) | record.Data[i];
    return std::to_string(value);
}

struct RowToCompare {
    int block;
    int row;
    const SettingsRecord* record;
};

}  // namespace

Comparison CompareWithFile(CVelterraDoc& doc, const std::string& path, const Progress& progress) {
    Comparison result;
    result.fileName = std::filesystem::path(path).filename().string();
    result.cameraModel = doc.ModelName;
    result.cameraSlot = doc.PortIndex;
    if (doc.PortIndex < 0 || doc.Blocks.empty()) {
        ShowBox(doc, SettingsText::kCompareNeedsCamera);
        result.outcome = Outcome::kNotConnected;
        return result;
    }
    std::map<uint8_t, SettingsRecord> records;
    if (!ReadFile(doc, path, result, records)) return result;

    // The writable rows, each with the file's record of its id.
    std::vector<RowToCompare> rows;
    std::map<uint8_t, bool> used;
    for (std::size_t b = 0; b < doc.Blocks.size(); ++b) {
        const BlockInfo& block = doc.Blocks[b];
        const std::size_t count = std::min<std::size_t>(
            static_cast<std::size_t>(std::max(block.RowCount, 0)), block.Rows.size());
        for (std::size_t r = 0; r < count; ++r) {
            const CommandInfo* command = block.Rows[r].Command.get();
            if (command == nullptr || command->EnableRW == 0) continue;
            // A list without items has no value to compare, in the file or in the camera.
            if (command->EnableList != 0 && command->ListItems.empty()) continue;
            const auto record = records.find(command->CommandID);
            if (record == records.end()) {
                result.notInFile.push_back(ParameterName(block, block.Rows[r]));
                continue;
            }
            used[command->CommandID] = true;
            rows.push_back({static_cast<int>(b), static_cast<int>(r), &record->second});
        }
    }
    for (const auto& [id, record] : records) result.unknownRecords += used.count(id) == 0;

    const OperationScope scope(doc);
    const int total = static_cast<int>(rows.size());
    bool anyRead = false;
    for (int i = 0; i < total; ++i) {
        if (progress && !progress(i, total)) {
            result.outcome = Outcome::kCancelled;
            break;
        }
        const RowToCompare& item = rows[static_cast<std::size_t>(i)];
        std::lock_guard table(doc.TableLock);  // the read and the copy of what it read
        const BlockInfo& block = doc.Blocks[static_cast<std::size_t>(item.block)];
        const RowInfo& row = block.Rows[static_cast<std::size_t>(item.row)];
        if (doc.ReadParameter(item.block, item.row) != 1) {
            result.unreadable.push_back(ParameterName(block, row));
            continue;
        }
        anyRead = true;
        ++result.compared;
        Difference difference;
        difference.fileValue = FileValue(*row.Command, *item.record, difference.writable);
        difference.cameraValue = row.Command->ValueText;
        if (difference.writable && difference.fileValue == difference.cameraValue) continue;
        difference.block = item.block;
        difference.row = item.row;
        difference.commandId = row.Command->CommandID;
        difference.blockName = block.DisplayName;
        difference.parameterName = row.DisplayName;
        result.differences.push_back(std::move(difference));
    }
    if (result.outcome == Outcome::kCompared && progress) progress(total, total);
    // The rows now show the camera's values, as after a refresh.
    if (anyRead) doc.SetModifiedFlag(true);
    doc.UpdateAllViews(UpdateHint::kValuesChanged, &doc.Blocks);
    return result;
}

}  // namespace SettingsCompare

}  // namespace velterra
