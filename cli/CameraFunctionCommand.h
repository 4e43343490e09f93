#pragma once
#include <functional>
#include <string>
#include <vector>

#include "CliSession.h"
#include "dataops/CameraFunctions.h"

namespace velterra {

// The camera-function commands (run, fpn-write, fpn-read, pixel-set, badpixels-read,
// badpixels-write): parse the options, connect as a copy of the program, run one operation of
// the core and exit 0 only when it succeeded. With --progress, long operations print "n/m"
// lines to standard error.
using CameraOperation =
    std::function<bool(CameraFunctions& functions, const PortCommandOptions& options)>;

// `check` runs after parsing, before anything is opened; it prints the problem and returns
// false for a usage mistake. `flags` are the command's own options without a value.
int RunCameraFunctionCommand(CliContext& context, const std::string& usage,
                             const std::vector<std::string>& allowed,
                             const CameraOperation& operation,
                             const std::function<bool(const PortCommandOptions&)>& check = nullptr,
                             const std::vector<std::string>& flags = {});

}  // namespace velterra
