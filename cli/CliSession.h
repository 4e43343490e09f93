#pragma once
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "connect/PortConnector.h"
#include "core/DocumentObserver.h"
#include "core/PortRegistry.h"
#include "core/UserInterface.h"
#include "core/VelterraApp.h"
#include "core/VelterraDoc.h"

namespace velterra {

// Exit statuses of the commands that talk to a camera.
inline constexpr int kCliExitOk = 0;
inline constexpr int kCliExitFailed = 1;
inline constexpr int kCliExitUsage = 64;
// The options before the command that the camera commands take.
inline constexpr const char* kCliGlobalUsage = "[--dir DIR] [--baud N] [--kernel auto|0|1]";

// The options of the camera commands: --port PORT, --level, --json, --password, the flags
// --refresh and --progress, the command's own flags, the values of other allowed options, and
// the remaining arguments.
struct PortCommandOptions {
    int slot = -1;
    std::optional<std::string> level;
    bool json = false;
    bool refresh = false;
    bool progress = false;
    std::optional<std::string> password;
    std::map<std::string, std::string> values;  // further allowed options, e.g. "--pixel"
    std::set<std::string> flags;                // the command's own flags given, e.g. "--yes"
    std::vector<std::string> operands;
};

// Parses the command's arguments, taking only the options named in `allowed` (e.g. "--level")
// and the flags named in `flags`, which take no value. False after printing the problem and
// the usage line.
bool ParsePortCommand(const CliContext& context, const std::string& usage,
                      const std::vector<std::string>& allowed, PortCommandOptions& options,
                      const std::vector<std::string>& flags = {});

// True after printing the problem and the usage line when the command got no operands.
bool OperandsMissing(const PortCommandOptions& options, const std::string& usage,
                     const std::string& problem);

// True after printing the Password dialog's message when a --password was given that does not
// match the access code; the rows of the password level stay locked then.
bool PasswordRefused(const std::optional<std::string>& password);

// One run of a camera command as a full copy of the program, started and ended by the
// application object as the window is (the shared port registry with its tags, this process's
// slots freed at the end, also on SIGINT and SIGTERM, a document on the real protocol library),
// with the console as its user interface. Connection-log lines go
// to standard error as "[%H:%M:%S] text", message boxes as their plain text.
class CliSession : public IUserInterface, public IDocumentObserver {
  public:
    explicit CliSession(const CliContext& context);
    ~CliSession() override;
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Reads the global options (--baud N, --kernel auto|0|1), starts the application and
    // watches for interrupts. False after printing a usage problem.
    bool Start();

    CVelterraDoc& Doc() { return app_.Doc(); }
    PortConnector& Connector() { return *connector_; }

    // Opens the slot's port and identifies the camera; refuses a slot another running copy
    // holds. The reason of a failure has been printed.
    bool Connect(int slot);
    // Connects through the document's "&Open Camera..." path, which loads the model's table
    // and reads every parameter.
    bool OpenCamera(int slot);
    // Connects, loads the model's table and checks that the camera answers, without reading
    // the parameters.
    bool OpenForAccess(int slot);

    // Connection-log lines printed so far (each one a failed exchange).
    int LogLineCount() const { return logLines_; }
    // Tells on standard error why the slot's port did not open (missing device, permission,
    // held by another program, no clser library); baudRate 0 is the session's own rate.
    void ReportOpenFailure(int slot, uint32_t baudRate = 0) const;

    void ShowMessage(const std::string& text, MessageKind kind) override;
    OpenCameraResult RunOpenCameraDialog(CVelterraDoc& doc) override;
    bool RunWindowCommand(int commandId) override;
    void OnDocumentUpdate(int hint, const BlockArray* blocks, const std::string& message) override;

  private:
    void ReportTableFailure(const std::string& reason);
    void ReleaseAfterSignal(int signal);

    const CliContext& context_;
    CVelterraApp app_;
    std::unique_ptr<PortConnector> connector_;
    uint32_t baudRate_ = 9600;
    KernelChoice kernel_ = KernelChoice::Auto;
    int pendingSlot_ = -1;
    int logLines_ = 0;
};

}  // namespace velterra
