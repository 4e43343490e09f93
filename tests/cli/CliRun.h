#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// Runs the built velterra-cli the way a user does and collects what it printed.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline CliResult RunCli(const std::string& arguments,
                        const std::string& workingDirectory = "/tmp") {
    char pattern[] = "/tmp/velterra_cli_XXXXXX";
    CliResult result;
    if (mkdtemp(pattern) == nullptr) return result;
    const std::filesystem::path dir = pattern;
    const std::string command =
        "cd '" + workingDirectory + "' && '" VELTERRA_BIN_DIR "/velterra-cli' " + arguments +
        " >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "' </dev/null";
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadWholeFile(dir / "out");
    result.err = ReadWholeFile(dir / "err");
    std::filesystem::remove_all(dir);
    return result;
}
