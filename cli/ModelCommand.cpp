#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "CliCommand.h"
#include "InputFile.h"
#include "TableJson.h"
#include "core/ModelFile.h"

namespace velterra {

// velterra-cli model NAME | model --file PATH: the command table of a model as JSON.
namespace {

constexpr int kExitLoaded = 0;
constexpr int kExitUnknownModel = 2;
constexpr int kExitLoadFailed = 3;
constexpr int kExitUsage = 64;

int RunModel(CliContext& context) {
    const auto& args = context.args;
    const std::string startup = context.startupDirectory.string();
    std::string modelName;
    std::string path;
    if (args.size() == 2 && args[0] == "--file") {
        path = context.UserPath(args[1]).string();
    } else if (args.size() == 1 && args[0].rfind("--", 0) != 0) {
        modelName = args[0];
        if (!FindModelFile(startup, modelName, path)) {
            std::cerr << "velterra-cli: model \"" << modelName << "\" is not in " << path << '\n';
            return kExitUnknownModel;
        }
    } else {
        std::cerr << "usage: velterra-cli [--dir DIR] model NAME | model --file PATH\n";
        return kExitUsage;
    }

    // Said before the table reader, which takes an unreadable file for an empty one.
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        std::cerr << "velterra-cli: cannot read " << path << ": "
                  << std::generic_category().message(ENOENT) << '\n';
        return kExitLoadFailed;
    }
    if (const std::string problem = platform::InputFileProblem(path, platform::kConfigFileLimitMb);
        !problem.empty()) {
        std::cerr << "velterra-cli: cannot read " << problem << '\n';
        return kExitLoadFailed;
    }
    if (std::ifstream probe(path); !probe) {
        std::cerr << "velterra-cli: cannot read " << path << ": " << std::strerror(errno) << '\n';
        return kExitLoadFailed;
    }
    CameraModel model;
    std::string reason;
    if (!LoadModelFile(path, model, &reason)) {
        std::cerr << "velterra-cli: cannot load " << path << ": " << reason << '\n';
        return kExitLoadFailed;
    }
    std::cout << DumpJson(ModelTableToJson(modelName, path, model)) << '\n';
    return kExitLoaded;
}

CliCommandRegistration registration("model", "NAME | --file PATH", &RunModel);

}  // namespace

}  // namespace velterra
