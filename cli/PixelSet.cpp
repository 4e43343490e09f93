#include <iostream>

#include "CameraFunctionCommand.h"
#include "connect/PixelSetModel.h"
#include "core/CommandNames.h"

namespace velterra {

// velterra-cli pixel-set --port PORT --table fpn|prnu --pixel N --value V: one correction
// value of the legacy camera, N 0-based as the Pixel Set dialog takes it; runs the Command.ini
// function "OnePixelWrite" (the menus' built-in function 5 after OK).
namespace {

constexpr const char* kUsage = "pixel-set --port PORT --table fpn|prnu --pixel N --value V";

bool CheckOptions(const PortCommandOptions& options) {
    const auto table = options.values.find("--table");
    if (table == options.values.end() || (table->second != "fpn" && table->second != "prnu")) {
        std::cerr << "velterra-cli: --table fpn or --table prnu is needed\n";
        return false;
    }
    for (const char* option : {"--pixel", "--value"}) {
        if (!options.values.count(option)) {
            std::cerr << "velterra-cli: " << option << " is needed\n";
            return false;
        }
    }
    if (!options.operands.empty()) {
        std::cerr << "velterra-cli: unexpected argument \"" << options.operands[0] << "\"\n";
        return false;
    }
    return true;
}

int RunPixelSet(CliContext& context) {
    return RunCameraFunctionCommand(
        context, kUsage, {"--table", "--pixel", "--value"},
        [](CameraFunctions& functions, const PortCommandOptions& options) {
            // The dialog's steps: the table choice, then "Set" with the two entries, then OK.
            PixelSetModel dialog(functions.PixelRequest);
            if (options.values.at("--table") == "prnu") dialog.ChoosePrnu();
            const std::string warning =
                dialog.StorePixelEntry(options.values.at("--pixel"), options.values.at("--value"));
            if (!warning.empty()) std::cerr << warning << '\n';
            return functions.RunCameraFunction(CommandName::kOnePixelWrite);
        },
        &CheckOptions);
}

CliCommandRegistration registration("pixel-set", kUsage, &RunPixelSet);

}  // namespace

}  // namespace velterra
