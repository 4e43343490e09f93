// Loading a settings file into the document, and writing its values into a connected camera.
#include <algorithm>

#include "Clock.h"
#include "FormatText.h"
#include "SettingsFile.h"
#include "SettingsFileArchive.h"
#include "SettingsFileRecord.h"
#include "SettingsTexts.h"
#include "UpdateHints.h"
#include "VelterraDoc.h"

namespace velterra {

namespace {

using Outcome = SettingsFile::LoadReport::Outcome;

void ShowBox(CVelterraDoc& doc, const std::string& text) {
    if (IUserInterface* ui = doc.UserInterface()) ui->ShowMessage(text, MessageKind::Plain);
}

void SetWaitCursor(CVelterraDoc& doc, bool on) {
    if (IUserInterface* ui = doc.UserInterface()) ui->SetWaitCursor(on);
}

void LogLine(CVelterraDoc& doc, std::string text) {
    doc.MessageText = std::move(text);
    doc.UpdateAllViews(UpdateHint::kLogMessage);
}

// Without a camera the file's model is loaded so its values can be viewed. False (with the
// message shown and the document as it was) when CAM_VL.ini does not name the model.
bool LoadModelOfFile(CVelterraDoc& doc, const std::string& model) {
    std::string path;
    if (!FindModelFile(doc.StartupDirectory, model, path)) {
        ShowBox(doc, FormatText(SettingsText::kModelNotFound, model.c_str()));
        return false;
    }
    // A table that fails to load leaves the document without one; the load ends below. The
    // menus are filled all the same and stay disabled without a table.
    doc.SwitchModel(model, CVelterraDoc::MenusOfFailedTable::kFillAnyway);
    doc.NoPortText.clear();
    doc.UpdateAllViews(UpdateHint::kConnectionChanged);
    return true;
}

// Applies one record to every row with its command id, in table order.
void ApplyRecord(CVelterraDoc& doc, const SettingsRecord& record, bool writeBack,
                 SettingsFile::LoadReport& report) {
    std::lock_guard table(doc.TableLock);
    for (std::size_t b = 0; b < doc.Blocks.size(); ++b) {
        BlockInfo& block = doc.Blocks[b];
        const std::size_t rows = std::min<std::size_t>(
            static_cast<std::size_t>(std::max(block.RowCount, 0)), block.Rows.size());
        for (std::size_t r = 0; r < rows; ++r) {
            CommandInfo* command = block.Rows[r].Command.get();
            if (command == nullptr || command->CommandID != record.CommandID) continue;
            const DecodedValue decoded = DecodeSettingsValue(*command, record);
            switch (decoded.kind) {
                case DecodedValue::Kind::kListEmpty:
                    return;  // a list without items ends this record
                case DecodedValue::Kind::kListNoMatch:
                    break;
                case DecodedValue::Kind::kListItem:
                    command->ValueText = decoded.valueText;
                    break;
                case DecodedValue::Kind::kText:
                    command->PureTextValue =
                        command->PureTextValue == 0 ? 1 : command->PureTextValue;
                    command->CharLength = record.Length;
                    command->ValueText = decoded.valueText;
                    break;
                case DecodedValue::Kind::kNumber:
                    command->CharLength = record.Length;
                    command->ValueText = decoded.valueText;
                    break;
            }
            ++report.applied;
            if (!writeBack) continue;
            const std::string text = command->ValueText;
            if (doc.ReadWriteParameter(static_cast<int>(b), static_cast<int>(r), true, &text) ==
                    0 &&
                command->EnableRW != 0) {
                ++report.writesFailed;
            }
            platform::SleepMs(SettingsFile::kWritePauseMs);
        }
    }
}

}  // namespace

SettingsFile::LoadReport SettingsFile::Load(CVelterraDoc& doc, SettingsFileArchive& archive,
                                            const std::string& fileName) {
    LoadReport report;
    std::string tag;
    archive.ReadString(tag);
    if (tag != SettingsText::kFileTag) {
        ShowBox(doc, SettingsText::kWrongFormat);
        report.outcome = Outcome::kWrongFormat;
        return report;
    }
    archive.ReadText(report.modelName);
    const std::string& model = report.modelName;

    const bool connected = doc.PortIndex >= 0;
    if (!connected) {
        if (!LoadModelOfFile(doc, model)) {
            report.outcome = Outcome::kUnknownModel;
            return report;
        }
    } else {
        if (model != doc.ModelName) {
            ShowBox(doc,
                    FormatText(SettingsText::kModelMismatch, model.c_str(), doc.ModelName.c_str()));
            report.outcome = Outcome::kModelMismatch;
            return report;
        }
        doc.StartPollTimer();
    }

    SetWaitCursor(doc, true);
    if (doc.Blocks.empty()) {
        SetWaitCursor(doc, false);
        report.outcome = Outcome::kNoTable;
        return report;
    }
    SettingsRecord record;
    for (;;) {
        const RecordRead read = ReadSettingsRecord(archive, record);
        if (read == RecordRead::kEnd) break;
        if (read == RecordRead::kTruncated) {
            report.truncated = true;  // the records before it stay applied
            break;
        }
        ++report.records;
        if (!record.Fits()) {
            ++report.tooLong;
            LogLine(doc, FormatText(SettingsText::kRecordTooLong, unsigned{record.CommandID},
                                    fileName.c_str(), unsigned{record.Length}));
            continue;
        }
        ApplyRecord(doc, record, connected, report);
    }
    doc.UpdateAllViews(UpdateHint::kValuesChanged, &doc.Blocks);
    SetWaitCursor(doc, false);
    return report;
}

}  // namespace velterra
