#include "CliSession.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "ComPortPath.h"
#include "connect/AccessCode.h"
#include "connect/ConnectTexts.h"
#include "core/EngineTexts.h"
#include "core/FormatText.h"
#include "core/PortSlot.h"
#include "core/UpdateHints.h"

namespace velterra {

namespace {

// Longer than any single exchange with its time limits and the clearing of the line after it.
constexpr int kReleaseWaitMs = 10000;

bool ParseBaud(const std::string& text, uint32_t& baud) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    baud = static_cast<uint32_t>(std::stoul(text));
    return baud > 0;
}

}  // namespace

bool OperandsMissing(const PortCommandOptions& options, const std::string& usage,
                     const std::string& problem) {
    if (!options.operands.empty()) return false;
    std::cerr << "velterra-cli: " << problem << "\nusage: velterra-cli " << kCliGlobalUsage << " "
              << usage << '\n';
    return true;
}

bool PasswordRefused(const std::optional<std::string>& password) {
    if (!password || AccessCodeMatches(*password)) return false;
    std::cerr << ConnectText::kIncorrectPassword << '\n';
    return true;
}

bool ParsePortCommand(const CliContext& context, const std::string& usage,
                      const std::vector<std::string>& allowed, PortCommandOptions& options,
                      const std::vector<std::string>& flags) {
    auto fail = [&usage](const std::string& problem) {
        std::cerr << "velterra-cli: " << problem << "\nusage: velterra-cli " << kCliGlobalUsage
                  << " " << usage << '\n';
        return false;
    };
    auto isAllowed = [&allowed](const std::string& option) {
        return option == "--port" ||
               std::find(allowed.begin(), allowed.end(), option) != allowed.end();
    };
    const auto& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg == "--") {
            options.operands.insert(options.operands.end(), args.begin() + i + (arg == "--"),
                                    args.end());
            break;
        }
        if (std::find(flags.begin(), flags.end(), arg) != flags.end()) {
            options.flags.insert(arg);
            continue;
        }
        if (!isAllowed(arg)) return fail("unknown option " + arg);
        if (arg == "--json" || arg == "--refresh" || arg == "--progress") {
            (arg == "--json"      ? options.json
             : arg == "--refresh" ? options.refresh
                                  : options.progress) = true;
            continue;
        }
        if (i + 1 >= args.size()) return fail("option " + arg + " needs a value");
        const std::string& value = args[++i];
        if (arg == "--port") {
            const auto slot = PortSlot::Parse(value);
            if (!slot) return fail("unknown port \"" + value + "\" (COM1..COM4, clser-0..clser-5)");
            options.slot = *slot;
        } else if (arg == "--level") {
            options.level = value;
        } else if (arg == "--password") {
            options.password = value;
        } else {
            options.values[arg] = value;
        }
    }
    if (options.slot < 0) return fail("--port PORT is needed");
    return true;
}

CliSession::CliSession(const CliContext& context) : context_(context) {}

CliSession::~CliSession() {
    // The connector refers to the document, which the application releases.
    connector_.reset();
    app_.ExitInstance();
}

bool CliSession::Start() {
    const auto& options = context_.globalOptions;
    for (std::size_t i = 0; i + 1 < options.size(); i += 2) {
        if (options[i] == "--baud") {
            if (!ParseBaud(options[i + 1], baudRate_)) {
                std::cerr << "velterra-cli: --baud needs a positive number, not \""
                          << options[i + 1] << "\"\n";
                return false;
            }
        } else if (options[i] == "--kernel") {
            const auto choice = ParseKernelChoice(options[i + 1]);
            if (!choice) {
                std::cerr << "velterra-cli: --kernel needs auto, 0 or 1, not \"" << options[i + 1]
                          << "\"\n";
                return false;
            }
            kernel_ = *choice;
        } else {
            std::cerr << "velterra-cli: unknown option " << options[i] << '\n';
            return false;
        }
    }

    CVelterraApp::StartOptions start;
    start.startupDirectory = context_.startupDirectory.string();
    std::string failure;
    if (!app_.InitInstance(start, &failure)) {
        std::cerr << "velterra-cli: " << failure << '\n';
        return false;
    }
    if (!app_.Registry()) {
        std::cerr << "velterra-cli: " << app_.RegistryFailure()
                  << "; going on without the port registry\n";
    }
    CVelterraDoc& doc = app_.Doc();
    doc.SetUserInterface(this);
    doc.AddObserver(this);
    doc.BaudRate = static_cast<int32_t>(baudRate_);
    connector_ = std::make_unique<PortConnector>(doc);
    connector_->BaudRate = baudRate_;
    connector_->Kernel = kernel_;
    // The whole command is one run: once the camera stops answering, it is said once and the
    // remaining exchanges are skipped.
    doc.ExchangeRuns.Begin();
    app_.WatchTerminationSignals([this](int signal) { ReleaseAfterSignal(signal); });
    return true;
}

void CliSession::ReleaseAfterSignal(int signal) {
    std::cerr << "velterra-cli: interrupted; closing the port\n";
    app_.Doc().ReleaseOwnPortsNow(kReleaseWaitMs);
    std::cerr.flush();
    _exit(128 + signal);
}

void CliSession::ShowMessage(const std::string& text, MessageKind) {
    std::cerr << text << '\n';
}

void CliSession::OnDocumentUpdate(int hint, const BlockArray*, const std::string& message) {
    if (hint != UpdateHint::kLogMessage || message.empty()) return;
    ++logLines_;
    std::cerr << '[' << LocalTimeOfDay() << "] " << message << '\n';
}

bool CliSession::RunWindowCommand(int) {
    return false;  // no window and no menus here; the command that asked says so
}

void CliSession::ReportOpenFailure(int slot, uint32_t baudRate) const {
    const std::string name = PortSlot::Name(slot);
    std::string reason;
    if (PortSlot::TransportOf(slot) == PortSlot::kRs232) {
        const std::string path = platform::ComPortPath(PortSlot::PortNumber(slot) + 1);
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) {
            reason = path + " does not exist; point " + name + " at the device with VELTERRA_" +
                     name + "=PATH or key " + name + " of section [Ports] in comports.ini";
        } else if (access(path.c_str(), R_OK | W_OK) != 0) {
            reason = "no permission to use " + path +
                     " (add your user to the dialout group and log in again)";
        } else {
            reason = path +
                     " is held by another program (a terminal, ModemManager, another "
                     "copy), or the baud rate " +
                     std::to_string(baudRate != 0 ? baudRate : baudRate_) + " is not supported";
        }
    } else {
        reason =
            "no Camera Link serial library of clser.ini serves it, or its serial port does "
            "not open";
    }
    std::cerr << "velterra-cli: cannot open " << name << ": " << reason << '\n';
}

bool CliSession::Connect(int slot) {
    const auto inUse = [this, slot] {
        std::cerr << "velterra-cli: " << PortSlot::Name(slot)
                  << " is in use by another copy of the program (process "
                  << app_.Registry()->Owner(slot) << ")\n";
        return false;
    };
    if (app_.Registry() && app_.Registry()->OwnedByOther(slot)) return inUse();
    const uint8_t status = connector_->ConnectSlot(slot);
    // Another copy claimed the slot while this one opened the port.
    if (connector_->LastClaimLost()) return inUse();
    if (connector_->LastOpenFailed()) ReportOpenFailure(slot);
    return status == ProbeStatus::kConnected;
}

OpenCameraResult CliSession::RunOpenCameraDialog(CVelterraDoc&) {
    OpenCameraResult result;
    result.baudRate = static_cast<int32_t>(baudRate_);
    if (!Connect(pendingSlot_)) return result;
    const ProbeEntry& entry = connector_->Table()[pendingSlot_];
    result.accepted = true;
    result.slot = pendingSlot_;
    result.modelName = entry.RemoteDeviceName;
    result.kernel = entry.Kernel;
    return result;
}

// The document shows nothing when the table does not load; the console says why.
void CliSession::ReportTableFailure(const std::string& reason) {
    std::cerr << "velterra-cli: cannot load the command table " << app_.Doc().CommandFilePath
              << " of model " << app_.Doc().ModelName << ": " << reason << '\n';
}

bool CliSession::OpenCamera(int slot) {
    pendingSlot_ = slot;
    app_.Doc().OnOpenCamera();
    if (app_.Doc().PortIndex != slot) return false;
    if (app_.Doc().Blocks.empty()) {
        // The window's path keeps no reason; the file is read once more for it.
        CameraModel model;
        std::string reason;
        if (!LoadModelFile(app_.Doc().CommandFilePath, model, &reason)) ReportTableFailure(reason);
        return false;
    }
    return !app_.Doc().NotResponding;
}

bool CliSession::OpenForAccess(int slot) {
    if (!Connect(slot)) return false;
    CVelterraDoc& doc = app_.Doc();
    const ProbeEntry& entry = connector_->Table()[slot];
    doc.PortIndex = slot;
    doc.CameraKernel = entry.Kernel;
    doc.SetPortTypeFromSlot(slot);
    std::string reason;
    if (!doc.SwitchModel(entry.RemoteDeviceName, CVelterraDoc::MenusOfFailedTable::kEmpty,
                         &reason)) {
        ReportTableFailure(reason);
        return false;
    }
    doc.SetTitle(doc.PortName());
    doc.ProbeCamera(false);
    if (doc.NotResponding) {
        ShowMessage(FormatText(EngineText::kCannotCommunicate, doc.PortName().c_str()),
                    MessageKind::Plain);
        return false;
    }
    return true;
}

}  // namespace velterra
