#include "dataops/LutTransfer.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>

#include "CliSession.h"

namespace velterra {

// velterra-cli lut-write --port PORT FILE.xlsx|FILE.xls and lut-read --port PORT OUT.xlsx:
// built-in functions 6 and 7 of the menus, with the file named on the command line where the
// window asks for it. The camera must be connected as by "&Open Camera..." (its model gives
// the bit depth and the taps of a read); messages go to standard error.
namespace {

constexpr const char* kWriteUsage = "lut-write [--progress] --port PORT FILE.xlsx|FILE.xls";
constexpr const char* kReadUsage = "lut-read [--progress] --port PORT OUT.xlsx";

// The console session answering the file dialogs with the file of the command line.
class LutSession : public CliSession {
  public:
    LutSession(const CliContext& context, std::string file)
        : CliSession(context), file_(std::move(file)) {}
    std::optional<std::string> AskOpenFileName(const FileDialogRequest&) override { return file_; }
    std::optional<std::string> AskSaveFileName(const FileDialogRequest&) override { return file_; }

  private:
    std::string file_;
};

int RunLutTransfer(CliContext& context, bool write) {
    const char* usage = write ? kWriteUsage : kReadUsage;
    auto& args = context.args;
    const auto progressFlag = std::find(args.begin(), args.end(), "--progress");
    const bool progress = progressFlag != args.end();
    if (progress) args.erase(progressFlag);

    PortCommandOptions options;
    if (!ParsePortCommand(context, usage, {}, options)) return kCliExitUsage;
    if (options.operands.size() != 1) {
        std::cerr
            << "velterra-cli: name one LUT workbook\nusage: velterra-cli [--dir DIR] [--baud N] "
            << usage << '\n';
        return kCliExitUsage;
    }
    const std::string path = context.UserPath(options.operands[0]).string();

    LutSession session(context, path);
    if (!session.Start()) return kCliExitUsage;
    if (!session.OpenForAccess(options.slot)) return kCliExitFailed;

    LutTransfer transfer(session.Doc());
    if (progress) {
        transfer.SetProgress(
            [](int done, int total) { std::cerr << done << '/' << total << '\n'; });
    }
    if (write) {
        if (!transfer.WriteLutFromWorkbook()) return kCliExitFailed;
        std::cout << "Wrote the LUT of " << path << " to " << session.Doc().PortName() << '\n';
    } else {
        if (!transfer.ReadLutToWorkbook()) return kCliExitFailed;
        std::cout << "Saved the LUT of " << session.Doc().ModelName << " on "
                  << session.Doc().PortName() << " to " << path << '\n';
    }
    return kCliExitOk;
}

int RunLutWrite(CliContext& context) {
    return RunLutTransfer(context, true);
}
int RunLutRead(CliContext& context) {
    return RunLutTransfer(context, false);
}

CliCommandRegistration writeRegistration("lut-write", kWriteUsage + 10, &RunLutWrite);
CliCommandRegistration readRegistration("lut-read", kReadUsage + 9, &RunLutRead);

}  // namespace

}  // namespace velterra
