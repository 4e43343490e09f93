#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "CliCommand.h"
#include "InputFile.h"
#include "TableJson.h"
#include "core/CoreTexts.h"
#include "core/VelterraDoc.h"

namespace velterra {

// velterra-cli model NAME | model --file PATH: the command table of a model as JSON.
namespace {

constexpr int kExitLoaded = 0;
constexpr int kExitUnknownModel = 2;
constexpr int kExitLoadFailed = 3;
constexpr int kExitUsage = 64;

int RunModel(CliContext& context) {
    const auto& args = context.args;
    CVelterraDoc doc(context.startupDirectory.string());
    if (args.size() == 2 && args[0] == "--file") {
        doc.CommandFilePath = context.UserPath(args[1]).string();
    } else if (args.size() == 1 && args[0].rfind("--", 0) != 0) {
        doc.ModelName = args[0];
        if (!doc.FindCommandFile(doc.ModelName)) {
            std::cerr << "velterra-cli: model \"" << doc.ModelName << "\" is not in "
                      << doc.StartupFilePath(CoreText::kModelTableFile) << '\n';
            return kExitUnknownModel;
        }
    } else {
        std::cerr << "usage: velterra-cli [--dir DIR] model NAME | model --file PATH\n";
        return kExitUsage;
    }

    // Said before the table reader, which takes an unreadable file for an empty one.
    std::error_code error;
    if (!std::filesystem::exists(doc.CommandFilePath, error)) {
        std::cerr << "velterra-cli: cannot read " << doc.CommandFilePath << ": "
                  << std::generic_category().message(ENOENT) << '\n';
        return kExitLoadFailed;
    }
    if (const std::string problem =
            platform::InputFileProblem(doc.CommandFilePath, platform::kConfigFileLimitMb);
        !problem.empty()) {
        std::cerr << "velterra-cli: cannot read " << problem << '\n';
        return kExitLoadFailed;
    }
    if (std::ifstream probe(doc.CommandFilePath); !probe) {
        std::cerr << "velterra-cli: cannot read " << doc.CommandFilePath << ": "
                  << std::strerror(errno) << '\n';
        return kExitLoadFailed;
    }
    std::string reason;
    if (!doc.LoadCommandTable(doc.CommandFilePath, &reason)) {
        std::cerr << "velterra-cli: cannot load " << doc.CommandFilePath << ": " << reason << '\n';
        return kExitLoadFailed;
    }
    std::cout << DumpJson(ModelTableToJson(doc)) << '\n';
    return kExitLoaded;
}

CliCommandRegistration registration("model", "NAME | --file PATH", &RunModel);

}  // namespace

}  // namespace velterra
