#include <iostream>

#include "CliSession.h"
#include "core/SettingsFile.h"

namespace velterra {

// velterra-cli save --port PORT FILE.vlt: connects as "&Open Camera..." does (the model's table
// is loaded and every parameter read) and stores the camera's set-up as a settings file.
namespace {

constexpr const char* kUsage = "save --port PORT FILE.vlt";
constexpr const char* kArguments = kUsage + 5;  // without the command name

int RunSave(CliContext& context) {
    PortCommandOptions options;
    if (!ParsePortCommand(context, kUsage, {}, options)) return kCliExitUsage;
    if (options.operands.size() != 1) {
        std::cerr << "velterra-cli: name one settings file\nusage: velterra-cli [--dir DIR] "
                     "[--baud N] "
                  << kUsage << '\n';
        return kCliExitUsage;
    }
    const std::string path = context.UserPath(options.operands[0]).string();

    CliSession session(context);
    if (!session.Start()) return kCliExitUsage;
    if (!session.OpenCamera(options.slot)) return kCliExitFailed;
    CVelterraDoc& doc = session.Doc();

    // A parameter that could not be read has no value; stored, it would read as 0 or an empty
    // text and a later load would write that into the camera.
    if (session.LogLineCount() != 0) {
        std::cerr << "velterra-cli: " << path << " not written: " << session.LogLineCount()
                  << " parameter(s) could not be read (see above)\n";
        return kCliExitFailed;
    }
    SettingsFile::BeginSaveAs(doc);
    if (!SettingsFile::SaveFile(doc, path)) return kCliExitFailed;
    std::cout << "Saved the settings of " << doc.ModelName << " on " << doc.PortName() << " to "
              << path << '\n';
    return kCliExitOk;
}

CliCommandRegistration registration("save", kArguments, &RunSave);

}  // namespace

}  // namespace velterra
