#include <iostream>
#include <set>

#include "CliSession.h"
#include "ParameterRows.h"
#include "TableJson.h"

namespace velterra {

// velterra-cli list --port PORT [--level basic|advanced|admin|all] [--json] [--password CODE]:
// connects as "&Open Camera..." does (the model's table is loaded and every parameter read)
// and prints the parameters the level shows.
namespace {

constexpr const char* kUsage =
    "list --port PORT [--level basic|advanced|admin|all] [--json] [--password CODE]";

int RunList(CliContext& context) {
    PortCommandOptions options;
    if (!ParsePortCommand(context, kUsage, {"--level", "--json", "--password"}, options)) {
        return kCliExitUsage;
    }
    const auto level = ParameterRows::ParseLevel(options.level.value_or("all"));
    if (!level || !options.operands.empty()) {
        std::cerr << "velterra-cli: "
                  << (level ? "unexpected argument \"" + options.operands[0] + "\""
                            : "unknown level \"" + *options.level + "\"")
                  << "\nusage: velterra-cli " << kCliGlobalUsage << " " << kUsage << '\n';
        return kCliExitUsage;
    }
    if (PasswordRefused(options.password)) return kCliExitFailed;
    const bool access = options.password.has_value();
    if (*level == ParameterRows::kPasswordLevel && !access) {
        std::cerr << "velterra-cli: the admin level needs the access code (--password CODE)\n";
        return kCliExitFailed;
    }

    CliSession session(context);
    if (!session.Start()) return kCliExitUsage;
    if (!session.OpenCamera(options.slot)) return kCliExitFailed;

    const BlockArray& blocks = session.Doc().Blocks;
    const auto rows = ParameterRows::Visible(blocks, *level, access);
    if (options.json) {
        // The model's whole table, with the values of the rows the level shows.
        std::set<std::pair<int, int>> shown;
        for (const auto& ref : rows) shown.insert({ref.block, ref.row});
        auto json = ModelTableToJson(session.Doc());
        auto& jsonBlocks = json["Blocks"];
        for (std::size_t b = 0; b < jsonBlocks.size(); ++b) {
            auto& jsonRows = jsonBlocks[b]["Rows"];
            for (std::size_t r = 0; r < jsonRows.size(); ++r) {
                auto& command = jsonRows[r]["Command"];
                if (!command.is_null() &&
                    !shown.count({static_cast<int>(b), static_cast<int>(r)})) {
                    command["ValueText"] = "";
                }
            }
        }
        std::cout << DumpJson(json) << '\n';
    } else {
        for (const auto& ref : rows) {
            std::cout << ParameterRows::Address(blocks, ref) << " = "
                      << ParameterRows::Command(blocks, ref).ValueText << '\n';
        }
    }
    return session.LogLineCount() == 0 ? kCliExitOk : kCliExitFailed;
}

CliCommandRegistration registration("list", kUsage, &RunList);

}  // namespace

}  // namespace velterra
