#include <cstdio>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "InputFile.h"
#include "TableJson.h"
#include "core/ModelFile.h"
#include "core/SettingsFileArchive.h"
#include "core/SettingsFileRecord.h"
#include "core/SettingsTexts.h"

namespace velterra {

// velterra-cli vlt FILE.vlt [--json]: what a settings file holds, without a camera: its tag,
// model and records, and, when the model is in the start-up directory's CAM_VL.ini, the rows
// each record reaches and the values a load would give them.
namespace {

using json = nlohmann::ordered_json;

constexpr int kExitRead = 0;
constexpr int kExitNotASettingsFile = 1;
constexpr int kExitUsage = 64;
constexpr const char* kUsage = "FILE.vlt [--json]";

struct RowEffect {
    std::string address;
    std::string kind;  // number, text, list-item, list-no-match, list-empty
    std::string valueText;
    bool writable = false;
    int modelLength = 0;  // the table's CharLength before the record
};

struct RecordView {
    std::streamoff offset = 0;
    SettingsRecord record;
    std::size_t present = 0;  // value bytes in the file (all but for a truncated record)
    std::vector<RowEffect> rows;
};

const char* KindName(DecodedValue::Kind kind) {
    switch (kind) {
        case DecodedValue::Kind::kNumber:
            return "number";
        case DecodedValue::Kind::kText:
            return "text";
        case DecodedValue::Kind::kListItem:
            return "list-item";
        case DecodedValue::Kind::kListNoMatch:
            return "list-no-match";
        case DecodedValue::Kind::kListEmpty:
            return "list-empty";
    }
    return "";
}

// The rows a load applies the record to, in table order, as the loader walks them.
std::vector<RowEffect> Effects(const BlockArray& blocks, const SettingsRecord& record) {
    std::vector<RowEffect> effects;
    if (!record.Fits()) return effects;
    for (const BlockInfo& block : blocks) {
        const std::size_t rows = std::min<std::size_t>(
            static_cast<std::size_t>(std::max(block.RowCount, 0)), block.Rows.size());
        for (std::size_t r = 0; r < rows; ++r) {
            const CommandInfo* command = block.Rows[r].Command.get();
            if (command == nullptr || command->CommandID != record.CommandID) continue;
            const DecodedValue decoded = DecodeSettingsValue(*command, record);
            effects.push_back({block.DisplayName + "/" + block.Rows[r].DisplayName,
                               KindName(decoded.kind), decoded.valueText, command->EnableRW != 0,
                               command->CharLength});
            if (decoded.kind == DecodedValue::Kind::kListEmpty) return effects;
        }
    }
    return effects;
}

std::string Hex(const uint8_t* bytes, std::size_t count) {
    std::string text;
    char part[4];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(part, sizeof part, i == 0 ? "%02X" : " %02X", unsigned{bytes[i]});
        text += part;
    }
    return text;
}

std::string IdText(uint8_t id) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%X", unsigned{id});
    return text;
}

std::string Annotation(const RowEffect& row, const RecordView& view) {
    const SettingsRecord& record = view.record;
    if (row.kind == "list-empty") return " (list without items: the record is skipped)";
    if (row.kind == "list-no-match") {
        return record.Length == 0
                   ? " (no value byte: the value stays)"
                   : " (no item has " + IdText(record.Data[0]) + ": the value stays)";
    }
    std::string notes;
    if (record.Length != row.modelLength) {
        notes += ", length " + std::to_string(record.Length) + " where the model says " +
                 std::to_string(row.modelLength);
    }
    if (!row.writable) notes += ", read-only: never written to a camera";
    return notes.empty() ? "" : " (" + notes.substr(2) + ")";
}

json BytesJson(const SettingsRecord& record, std::size_t count) {
    json bytes = json::array();
    for (std::size_t i = 0; i < count; ++i) bytes.push_back(record.Data[i]);
    return bytes;
}

int RunVlt(CliContext& context) {
    std::optional<std::string> file;
    bool asJson = false;
    for (const std::string& arg : context.args) {
        if (arg == "--json") {
            asJson = true;
        } else if (arg.rfind("--", 0) == 0 || file) {
            std::cerr << "velterra-cli: unexpected argument \"" << arg
                      << "\"\nusage: velterra-cli [--dir DIR] vlt " << kUsage << '\n';
            return kExitUsage;
        } else {
            file = arg;
        }
    }
    if (!file) {
        std::cerr << "usage: velterra-cli [--dir DIR] vlt " << kUsage << '\n';
        return kExitUsage;
    }
    const std::string path = context.UserPath(*file).string();
    const std::string problem = platform::InputFileProblem(path, platform::kSettingsFileLimitMb);
    std::ifstream in;
    if (problem.empty()) in.open(path, std::ios::binary);
    if (!in.is_open()) {
        std::cerr << "velterra-cli: " << (problem.empty() ? "cannot open " + path : problem)
                  << '\n';
        return kExitNotASettingsFile;
    }
    SettingsFileArchive archive(in);
    std::string tag;
    archive.ReadString(tag);
    const bool formatOk = tag == SettingsText::kFileTag;
    std::string model;
    if (formatOk) archive.ReadText(model);

    const std::string startup = context.startupDirectory.string();
    CameraModel table;
    std::string commandFile;
    bool modelFound = false;
    bool tableLoaded = false;
    std::string tableFailure;
    if (formatOk) {
        modelFound = FindModelFile(startup, model, commandFile);
        if (modelFound) tableLoaded = LoadModelFile(commandFile, table, &tableFailure);
    }

    std::vector<RecordView> records;
    std::optional<RecordView> truncated;
    while (formatOk) {
        RecordView view;
        view.offset = in.tellg();
        const RecordRead read = ReadSettingsRecord(archive, view.record, &view.present);
        if (read == RecordRead::kEnd) break;
        if (read == RecordRead::kTruncated) {
            truncated = view;
            break;
        }
        view.present = view.record.Length;
        view.rows = Effects(table.Blocks, view.record);
        records.push_back(std::move(view));
    }

    if (asJson) {
        json out{{"File", path}, {"Tag", tag}, {"FormatOk", formatOk}};
        if (formatOk) {
            out["ModelName"] = model;
            out["CommandFilePath"] = modelFound ? json(commandFile) : json(nullptr);
            out["TableLoaded"] = tableLoaded;
            json list = json::array();
            for (const RecordView& view : records) {
                json rows = json::array();
                for (const RowEffect& row : view.rows) {
                    rows.push_back({{"Address", row.address},
                                    {"Kind", row.kind},
                                    {"ValueText", row.valueText},
                                    {"Writable", row.writable}});
                }
                list.push_back({{"Offset", view.offset},
                                {"CommandID", view.record.CommandID},
                                {"Length", view.record.Length},
                                {"Bytes", BytesJson(view.record, view.present)},
                                {"Skipped", !view.record.Fits()},
                                {"Rows", std::move(rows)}});
            }
            out["Records"] = std::move(list);
            out["Truncated"] =
                truncated ? json{{"Offset", truncated->offset},
                                 {"CommandID", truncated->record.CommandID},
                                 {"Length", truncated->record.Length},
                                 {"Bytes", BytesJson(truncated->record, truncated->present)}}
                          : json(nullptr);
        }
        std::cout << DumpJson(out) << '\n';
    } else {
        std::cout << "tag " << tag << '\n';
    }
    if (!formatOk) {
        std::cerr << SettingsText::kWrongFormat << '\n';
        return kExitNotASettingsFile;
    }
    if (!tableLoaded) {
        std::cerr << "velterra-cli: "
                  << (modelFound
                          ? "cannot load the command table " + commandFile + ": " + tableFailure
                          : "model \"" + model + "\" is not in " + commandFile)
                  << "; the records are shown without rows\n";
    }
    if (asJson) return kExitRead;

    std::cout << "model " << model << '\n';
    if (tableLoaded) std::cout << "command file " << commandFile << '\n';
    std::size_t number = 0;
    for (const RecordView& view : records) {
        const SettingsRecord& record = view.record;
        std::cout << "record " << ++number << " at " << view.offset << ": id "
                  << IdText(record.CommandID) << ", length " << unsigned{record.Length};
        if (record.Length > 0) std::cout << ", bytes " << Hex(record.Data.data(), view.present);
        std::cout << '\n';
        if (!record.Fits()) {
            std::cout << "  skipped: a value holds " << SettingsRecord::kMaxValueBytes
                      << " bytes at most\n";
            continue;
        }
        if (tableLoaded && view.rows.empty()) std::cout << "  no row has this command\n";
        for (const RowEffect& row : view.rows) {
            std::cout << "  " << row.address;
            if (row.kind != "list-empty" && row.kind != "list-no-match") {
                std::cout << " = " << row.valueText;
            }
            std::cout << Annotation(row, view) << '\n';
        }
    }
    if (truncated) {
        std::cout << "end of file inside a record at " << truncated->offset << ": id "
                  << IdText(truncated->record.CommandID);
        if (truncated->present > 0 || truncated->record.Length > 0) {
            std::cout << ", length " << unsigned{truncated->record.Length} << ", "
                      << truncated->present << " of its bytes";
        }
        std::cout << " (a load ignores it)\n";
    }
    std::cout << records.size() << (records.size() == 1 ? " record\n" : " records\n");
    return kExitRead;
}

CliCommandRegistration registration("vlt", kUsage, &RunVlt);

}  // namespace

}  // namespace velterra
