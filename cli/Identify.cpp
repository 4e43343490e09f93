#include <iostream>

#include "CliSession.h"

namespace velterra {

// velterra-cli identify --port PORT: opens the port, reads the camera's model text and looks it
// up in CAM_VL.ini, as connecting in the Open Camera dialog does.
namespace {

constexpr const char* kUsage = "identify --port PORT";

int RunIdentify(CliContext& context) {
    PortCommandOptions options;
    if (!ParsePortCommand(context, kUsage, {}, options)) return kCliExitUsage;
    if (!options.operands.empty()) {
        std::cerr << "velterra-cli: unexpected argument \"" << options.operands[0]
                  << "\"\nusage: velterra-cli " << kCliGlobalUsage << " " << kUsage << '\n';
        return kCliExitUsage;
    }
    CliSession session(context);
    if (!session.Start()) return kCliExitUsage;
    if (!session.Connect(options.slot)) return kCliExitFailed;
    const auto& found = session.Connector().LastIdentification();
    std::cout << "Model text: " << found.ModelText << '\n'
              << "Model name: " << found.ModelName << '\n'
              << "Model command file: " << found.CommandFileName << '\n';
    return kCliExitOk;
}

CliCommandRegistration registration("identify", kUsage, &RunIdentify);

}  // namespace

}  // namespace velterra
