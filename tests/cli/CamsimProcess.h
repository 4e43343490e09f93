#pragma once
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CliRun.h"

// velterra-camsim as a process of its own, serving the sample configuration, with its output
// in a folder of the test; ends with the object.
class CamsimProcess {
  public:
    CamsimProcess(const std::filesystem::path& folder, const std::vector<std::string>& options)
        : out_(folder / "camsim.out"), err_(folder / "camsim.err") {
        std::vector<std::string> argv = {VELTERRA_BIN_DIR "/velterra-camsim", "--dir",
                                         VELTERRA_CONFIG_DIR};
        argv.insert(argv.end(), options.begin(), options.end());
        // An old file would hand the previous camera's terminal to the next command.
        std::filesystem::remove(out_);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            dup2(open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            std::vector<char*> args;
            for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (path_.empty() && std::chrono::steady_clock::now() < deadline) {
            std::istringstream lines(ReadWholeFile(out_));
            std::getline(lines, path_);
            if (path_.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~CamsimProcess() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    CamsimProcess(const CamsimProcess&) = delete;
    CamsimProcess& operator=(const CamsimProcess&) = delete;

    // The terminal the camera answers on; empty when it did not start.
    const std::string& TerminalPath() const { return path_; }
    std::string Errors() const { return ReadWholeFile(err_); }

  private:
    std::filesystem::path out_;
    std::filesystem::path err_;
    std::string path_;
    pid_t pid_ = -1;
};
