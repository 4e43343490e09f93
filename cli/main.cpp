#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "CliCommand.h"

using namespace velterra;

std::vector<CliCommandInfo>& velterra::CliCommands() {
    static std::vector<CliCommandInfo> commands;
    return commands;
}

static void PrintUsage() {
    std::cerr << "usage: velterra-cli [--dir DIR] [--baud N] [--kernel auto|0|1] COMMAND [ARGS]\n"
                 "       velterra-cli --help | --version\n"
                 "  --kernel: frames of the camera; auto (default) follows its model text\n\n"
                 "commands:\n";
    auto commands = CliCommands();
    std::sort(commands.begin(), commands.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const auto& c : commands) std::cerr << "  " << c.name << ' ' << c.usage << '\n';
}

int main(int argc, char** argv) {
    CliContext context;
    context.invocationDirectory = std::filesystem::current_path();
    context.startupDirectory = context.invocationDirectory;

    // Options before the command name belong to every command; --dir is taken here because
    // the start-up directory is the current directory of the program.
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
        std::string option = argv[i];
        if (option == "--help") {
            PrintUsage();
            return 0;
        }
        if (option == "--version") {
            std::printf("velterra-cli %s\n", VELTERRA_VERSION);
            return 0;
        }
        if (i + 1 >= argc) {
            std::cerr << "velterra-cli: option " << option << " needs a value\n";
            return 64;
        }
        if (option == "--dir") {
            context.startupDirectory = context.UserPath(argv[++i]);
        } else {
            context.globalOptions.push_back(option);
            context.globalOptions.push_back(argv[++i]);
        }
    }
    if (i >= argc) {
        PrintUsage();
        return 64;
    }
    std::string name = argv[i++];
    context.args.assign(argv + i, argv + argc);

    for (const auto& command : CliCommands()) {
        if (command.name != name) continue;
        if (chdir(context.startupDirectory.c_str()) != 0) {
            std::cerr << "velterra-cli: cannot use directory " << context.startupDirectory << ": "
                      << std::strerror(errno) << '\n';
            return 64;
        }
        return command.handler(context);
    }
    std::cerr << "velterra-cli: unknown command \"" << name << "\"\n";
    PrintUsage();
    return 64;
}
