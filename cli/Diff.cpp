#include <algorithm>
#include <iostream>

#include "CliSession.h"
#include "ParameterRows.h"
#include "TableJson.h"
#include "core/SettingsCompare.h"

namespace velterra {

// velterra-cli diff --port PORT FILE.vlt [--json]: reads the camera's writable parameters that
// the settings file holds and prints each whose value differs, with the file's value and the
// camera's. Exit 0 the same, 1 different, 2 when the comparison could not be made or is not
// complete (a read failed, the file is damaged), 64 a usage mistake.
namespace {

constexpr const char* kUsage = "diff --port PORT FILE.vlt [--json]";
constexpr const char* kArguments = kUsage + 5;  // without the command name

constexpr int kExitSame = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitError = 2;

using SettingsCompare::Comparison;

nlohmann::ordered_json ToJson(const CVelterraDoc& doc, const std::string& path,
                              const Comparison& comparison) {
    nlohmann::ordered_json json;
    json["file"] = path;
    json["model"] = comparison.cameraModel;
    json["port"] = doc.PortName();
    json["compared"] = comparison.compared;
    json["same"] = comparison.Same();
    json["complete"] = comparison.Complete();
    auto& differences = json["differences"] = nlohmann::ordered_json::array();
    for (const auto& d : comparison.differences) {
        differences.push_back({{"parameter", ParameterRows::Address(doc.Blocks, {d.block, d.row})},
                               {"commandId", d.commandId},
                               {"file", d.fileValue},
                               {"camera", d.cameraValue},
                               {"writable", d.writable}});
    }
    json["unreadable"] = comparison.unreadable;
    json["notInFile"] = comparison.notInFile;
    json["unknownRecords"] = comparison.unknownRecords;
    json["tooLong"] = comparison.tooLong;
    json["truncated"] = comparison.truncated;
    return json;
}

void PrintText(const CVelterraDoc& doc, const std::string& path, const Comparison& comparison) {
    for (const auto& d : comparison.differences) {
        std::cout << ParameterRows::Address(doc.Blocks, {d.block, d.row}) << ": file \""
                  << d.fileValue << "\", camera \"" << d.cameraValue << "\"\n";
    }
    std::cout << comparison.differences.size() << " of " << comparison.compared
              << " parameter(s) differ between " << path << " and " << comparison.cameraModel
              << " on " << doc.PortName() << '\n';
    // What the comparison could not cover, so that "no difference" is not read as "the same".
    for (const auto& name : comparison.unreadable) {
        std::cerr << "velterra-cli: " << name << " could not be read from the camera\n";
    }
    for (const auto& name : comparison.notInFile) {
        std::cerr << "velterra-cli: " << name << " is not in the file\n";
    }
    if (comparison.unknownRecords != 0) {
        std::cerr << "velterra-cli: " << comparison.unknownRecords
                  << " record(s) of the file name no writable parameter of the model\n";
    }
    if (comparison.truncated) {
        std::cerr << "velterra-cli: " << path
                  << " ends inside a record; the records before it were compared\n";
    }
}

int RunDiff(CliContext& context) {
    // --json may also follow the file name, as the usage line puts it.
    CliContext parsed = context;
    const auto json = std::remove(parsed.args.begin(), parsed.args.end(), "--json");
    const bool asJson = json != parsed.args.end();
    parsed.args.erase(json, parsed.args.end());
    PortCommandOptions options;
    if (!ParsePortCommand(parsed, kUsage, {}, options)) return kCliExitUsage;
    if (options.operands.size() != 1) {
        std::cerr << "velterra-cli: name one settings file\nusage: velterra-cli " << kCliGlobalUsage
                  << " " << kUsage << '\n';
        return kCliExitUsage;
    }
    const std::string path = context.UserPath(options.operands[0]).string();

    CliSession session(context);
    if (!session.Start()) return kCliExitUsage;
    if (!session.OpenForAccess(options.slot)) return kExitError;
    CVelterraDoc& doc = session.Doc();

    const Comparison comparison = SettingsCompare::CompareWithFile(doc, path);
    if (comparison.outcome != Comparison::Outcome::kCompared) return kExitError;
    if (asJson) {
        std::cout << DumpJson(ToJson(doc, path, comparison)) << '\n';
    } else {
        PrintText(doc, path, comparison);
    }
    if (!comparison.Complete()) return kExitError;
    return comparison.Same() ? kExitSame : kExitDifferent;
}

CliCommandRegistration registration("diff", kArguments, &RunDiff);

}  // namespace

}  // namespace velterra
