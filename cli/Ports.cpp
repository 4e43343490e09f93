#include <algorithm>
#include <cctype>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "CliSession.h"
#include "connect/ConnectTexts.h"
#include "connect/OpenCameraModel.h"
#include "connect/SelectionMode.h"

namespace velterra {

// velterra-cli ports: the port list of the Open Camera dialog. Without --force it scans every
// usable port as "Search all usable ports" does; with --force it connects that one port as
// "Figure one port forcely:" does and frees it again at the end. The shared registry is read
// and written as a running copy of the program does.
namespace {

constexpr const char* kUsage = "ports [--baud N] [--force COM3|COM4|card<0-2>/port<0-1>] [--json]";

struct PortsOptions {
    std::optional<std::string> baud;
    std::optional<std::string> force;
    bool json = false;
};

// The port tree leaf and card of a forced port as the Selection Mode dialog offers them.
struct ForcedChoice {
    int treeItem = SelectionMode::kNoTreeItem;
    int card = 0;
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<ForcedChoice> ParseForced(const std::string& text) {
    const std::string name = Lower(text);
    if (name == "com3") return ForcedChoice{SelectionMode::kCom3Leaf, 0};
    if (name == "com4") return ForcedChoice{SelectionMode::kCom4Leaf, 0};
    // cardN/portM
    if (name.size() == 11 && name.starts_with("card") && name.substr(5, 5) == "/port") {
        const int card = name[4] - '0';
        const int port = name[10] - '0';
        if (card >= 0 && card < SelectionMode::kCardCount && (port == 0 || port == 1)) {
            return ForcedChoice{port == 0 ? SelectionMode::kPort0Leaf : SelectionMode::kPort1Leaf,
                                card};
        }
    }
    return std::nullopt;
}

int UsageError(const std::string& problem) {
    std::cerr << "velterra-cli: " << problem << "\nusage: velterra-cli [--dir DIR] " << kUsage
              << '\n';
    return kCliExitUsage;
}

// The baud rate as the Selection Mode dialog's list offers it; --baud after the command name
// wins over the global one.
std::optional<std::string> BaudOption(const CliContext& context, const PortsOptions& options) {
    if (options.baud) return options.baud;
    const auto& global = context.globalOptions;
    for (std::size_t i = 0; i + 1 < global.size(); i += 2) {
        if (global[i] == "--baud") return global[i + 1];
    }
    return std::nullopt;
}

void PrintTable(const std::vector<PortRow>& rows) {
    std::size_t widths[2] = {std::string_view(ConnectText::kPortColumn).size(),
                             std::string_view(ConnectText::kStatusColumn).size()};
    for (const PortRow& row : rows) {
        widths[0] = std::max(widths[0], row.Port.size());
        widths[1] = std::max(widths[1], row.Status.size());
    }
    auto print = [&widths](const std::string& port, const std::string& status,
                           const std::string& device) {
        std::string line = port + std::string(widths[0] - port.size() + 2, ' ') + status +
                           std::string(widths[1] - status.size() + 2, ' ') + device;
        line.erase(line.find_last_not_of(' ') + 1);
        std::cout << line << '\n';
    };
    print(ConnectText::kPortColumn, ConnectText::kStatusColumn, ConnectText::kRemoteDeviceColumn);
    for (const PortRow& row : rows) print(row.Port, row.Status, row.RemoteDevice);
}

void PrintJson(const OpenCameraModel& model, const PortsOptions& options, bool connected) {
    nlohmann::json ports = nlohmann::json::array();
    for (int row = 0; row < static_cast<int>(model.Rows().size()); ++row) {
        const PortRow& line = model.Rows()[static_cast<std::size_t>(row)];
        ports.push_back({{"port", line.Port},
                         {"slot", model.SlotOfRow(row)},
                         {"status", line.Status},
                         {"remoteDevice", line.RemoteDevice}});
    }
    nlohmann::json out = {{"baudRate", model.Data().BaudRate}, {"ports", ports}};
    if (options.force) {
        out["connected"] = connected;
        out["model"] = connected ? nlohmann::json(model.Data().ModelName) : nlohmann::json();
    }
    std::cout << out.dump(2) << '\n';
}

// The dialog shows only the row of a forced port that failed; the console says why when the
// identification messages have not already done so.
void ExplainForcedFailure(const CliSession& session, const OpenCameraModel& model) {
    const int slot = model.SlotOfRow(0);
    if (slot < 0) return;
    const std::string status = model.Rows()[0].Status;
    if (status == ConnectText::kFailed) {
        session.ReportOpenFailure(slot, static_cast<uint32_t>(model.Data().BaudRate));
    } else if (status == ConnectText::kUsedByOther) {
        std::cerr << "velterra-cli: " << model.Rows()[0].Port
                  << " is in use by another copy of the program\n";
    }
}

int RunPorts(CliContext& context) {
    PortsOptions options;
    const auto& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--baud" || arg == "--force") {
            if (i + 1 >= args.size()) return UsageError("option " + arg + " needs a value");
            (arg == "--baud" ? options.baud : options.force) = args[++i];
        } else {
            return UsageError("unexpected argument \"" + arg + "\"");
        }
    }
    std::optional<ForcedChoice> forced;
    if (options.force) {
        forced = ParseForced(*options.force);
        if (!forced) {
            return UsageError("unknown port \"" + *options.force +
                              "\" for --force (COM3, COM4, card0/port0 .. card2/port1)");
        }
    }
    const std::optional<std::string> baud = BaudOption(context, options);
    if (baud && !SelectionMode(nullptr, true, false).SelectBaudText(*baud)) {
        return UsageError("--baud takes 9600, 19200, 38400, 57600 or 115200, not \"" + *baud +
                          "\"");
    }
    // The session reads the global options itself; a --baud it would refuse has been refused.
    CliSession session(context);
    if (!session.Start()) return kCliExitUsage;

    OpenCameraModel model(session.Doc());
    bool accepted = false;
    int runs = 0;
    // The Selection Mode dialog as the user fills it in; when it is shown again after a forced
    // port failed, the user gives up.
    auto runSelectionMode = [&](SelectionMode& selection) {
        if (runs++ > 0) return false;
        if (baud) selection.SelectBaudText(*baud);
        if (forced) {
            selection.SelectCard(forced->card);
            selection.SelectTreeItem(forced->treeItem);
        } else {
            selection.ChooseRadio(SelectionMode::kSearchAll);
        }
        accepted = selection.AcceptSelection();
        return accepted;
    };
    const OpenCameraModel::Outcome outcome = model.Start(runSelectionMode);
    if (!accepted) return kCliExitFailed;  // the reason has been shown

    const bool connected = outcome == OpenCameraModel::Outcome::Ok;
    if (forced && !connected) ExplainForcedFailure(session, model);
    if (options.json) {
        PrintJson(model, options, connected);
    } else {
        PrintTable(model.Rows());
        if (connected) std::cout << "Model: " << model.Data().ModelName << '\n';
    }
    return forced && !connected ? kCliExitFailed : kCliExitOk;
}

CliCommandRegistration registration("ports", kUsage, &RunPorts);

}  // namespace

}  // namespace velterra
