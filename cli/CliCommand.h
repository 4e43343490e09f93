#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace velterra {

// One sub-command of velterra-cli. Each command lives in its own file and registers itself
// with a static CliCommandRegistration, so adding a command touches no other file.
struct CliContext {
    std::filesystem::path invocationDirectory;  // where the user started the tool
    std::filesystem::path startupDirectory;     // --dir, or the invocation directory
    std::vector<std::string> globalOptions;     // leading options the main parser did not take
    std::vector<std::string> args;              // everything after the command name

    // Paths the user typed are relative to where the tool was started, not to --dir.
    std::filesystem::path UserPath(const std::string& typed) const {
        std::filesystem::path p(typed);
        return p.is_absolute() ? p : invocationDirectory / p;
    }
};

using CliHandler = int (*)(CliContext& context);

struct CliCommandInfo {
    std::string name;
    std::string usage;  // one line: arguments after the command name
    CliHandler handler;
};

std::vector<CliCommandInfo>& CliCommands();

struct CliCommandRegistration {
    CliCommandRegistration(std::string name, std::string usage, CliHandler handler) {
        CliCommands().push_back({std::move(name), std::move(usage), handler});
    }
};

}  // namespace velterra
