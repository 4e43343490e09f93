#include <iostream>
#include <set>

#include "CliSession.h"
#include "ParameterRows.h"
#include "TableJson.h"
#include "core/PortSlot.h"
#include "core/SettingsFile.h"

namespace velterra {

// velterra-cli load [--port PORT] FILE.vlt: with a port, connects and writes every value of the
// settings file into a camera of the file's model; without one, loads the file's model and
// prints the values as list prints them.
namespace {

constexpr const char* kUsage =
    "load [--port PORT] FILE.vlt | load FILE.vlt [--level basic|advanced|admin|all] [--json] "
    "[--password CODE]";
constexpr const char* kArguments = kUsage + 5;  // without the command name

struct LoadOptions {
    int slot = -1;
    std::string level = "all";
    bool json = false;
    std::optional<std::string> password;
    std::vector<std::string> files;
    bool viewOptions = false;  // --level, --json or --password given
};

bool Usage(const std::string& problem) {
    std::cerr << "velterra-cli: " << problem << "\nusage: velterra-cli " << kCliGlobalUsage << " "
              << kUsage << '\n';
    return false;
}

bool ParseLoad(const CliContext& context, LoadOptions& options) {
    const auto& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--json") {
            options.json = options.viewOptions = true;
            continue;
        }
        if (arg != "--port" && arg != "--level" && arg != "--password") {
            return Usage("unknown option " + arg);
        }
        if (i + 1 >= args.size()) return Usage("option " + arg + " needs a value");
        const std::string& value = args[++i];
        if (arg == "--port") {
            const auto slot = PortSlot::Parse(value);
            if (!slot)
                return Usage("unknown port \"" + value + "\" (COM1..COM4, clser-0..clser-5)");
            options.slot = *slot;
        } else if (arg == "--level") {
            options.level = value;
            options.viewOptions = true;
        } else {
            options.password = value;
            options.viewOptions = true;
        }
    }
    if (options.files.size() != 1) return Usage("name one settings file");
    if (options.slot >= 0 && options.viewOptions) {
        return Usage("--level, --json and --password show a file's values without a camera");
    }
    return true;
}

// The loaded values as list prints them: the rows the level shows, as text lines, or the whole
// table as JSON with the values of those rows.
void PrintValues(const CVelterraDoc& doc, int level, bool access, bool json) {
    const auto rows = ParameterRows::Visible(doc.Blocks, level, access);
    if (!json) {
        for (const auto& ref : rows) {
            std::cout << ParameterRows::Address(doc.Blocks, ref) << " = "
                      << ParameterRows::Command(doc.Blocks, ref).ValueText << '\n';
        }
        return;
    }
    std::set<std::pair<int, int>> shown;
    for (const auto& ref : rows) shown.insert({ref.block, ref.row});
    auto table = ModelTableToJson(doc);
    auto& blocks = table["Blocks"];
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        auto& jsonRows = blocks[b]["Rows"];
        for (std::size_t r = 0; r < jsonRows.size(); ++r) {
            auto& command = jsonRows[r]["Command"];
            if (!command.is_null() && !shown.count({static_cast<int>(b), static_cast<int>(r)})) {
                command["ValueText"] = "";
            }
        }
    }
    std::cout << DumpJson(table) << '\n';
}

int RunLoad(CliContext& context) {
    LoadOptions options;
    if (!ParseLoad(context, options)) return kCliExitUsage;
    const auto level = ParameterRows::ParseLevel(options.level);
    if (!level) {
        Usage("unknown level \"" + options.level + "\"");
        return kCliExitUsage;
    }
    if (PasswordRefused(options.password)) return kCliExitFailed;
    const bool access = options.password.has_value();
    if (*level == ParameterRows::kPasswordLevel && !access) {
        std::cerr << "velterra-cli: the admin level needs the access code (--password CODE)\n";
        return kCliExitFailed;
    }
    const std::string path = context.UserPath(options.files[0]).string();

    CliSession session(context);
    if (!session.Start()) return kCliExitUsage;
    const bool withCamera = options.slot >= 0;
    if (withCamera && !session.OpenForAccess(options.slot)) return kCliExitFailed;
    CVelterraDoc& doc = session.Doc();

    SettingsFile::BeginLoad(doc);
    const SettingsFile::LoadReport report = SettingsFile::LoadFile(doc, path);
    using Outcome = SettingsFile::LoadReport::Outcome;
    if (report.outcome == Outcome::kNoTable) {
        std::cerr << "velterra-cli: the command table " << doc.CommandFilePath << " of model "
                  << report.modelName << " cannot be loaded (velterra-cli check-config tells "
                  << "why)\n";
    }
    if (report.outcome != Outcome::kLoaded) return kCliExitFailed;
    if (report.truncated) {
        std::cerr << "velterra-cli: " << path
                  << " ends inside a record; the records before it were loaded\n";
    }
    if (withCamera) {
        std::cout << "Loaded " << report.records << " record(s) of " << path << " into "
                  << doc.ModelName << " on " << doc.PortName() << ": "
                  << report.applied - report.writesFailed << " value(s) written";
        if (report.writesFailed != 0) std::cout << ", " << report.writesFailed << " failed";
        std::cout << '\n';
    } else {
        PrintValues(doc, *level, access, options.json);
    }
    const bool complete = report.tooLong == 0 && !report.truncated && report.writesFailed == 0;
    return complete ? kCliExitOk : kCliExitFailed;
}

CliCommandRegistration registration("load", kArguments, &RunLoad);

}  // namespace

}  // namespace velterra
