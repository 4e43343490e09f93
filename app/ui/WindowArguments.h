#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velterra {

// The window's command line: velterra [--dir DIR] [--port PORT] [--baud N] [--lut-functions]
// [FILE.vlt], plus --help and --version. Read before the toolkit sees the arguments, so the two
// informational options work without a display.
struct WindowArguments {
    enum class Request { Run, Help, Version, Usage };
    Request request = Request::Run;
    std::string problem;           // Request::Usage: what is wrong
    std::string startupDirectory;  // --dir, empty: the current directory
    int slot = -1;                 // --port as a port slot, -1 none
    uint32_t baudRate = 0;         // --baud, 0: the dialog's default
    std::string settingsFile;      // FILE.vlt as typed, empty none
    bool lutFunctions = false;     // --lut-functions: offer the LUT functions for this run

    // Options the toolkit itself takes (-platform, -display ...) are passed over untouched.
    static WindowArguments Parse(const std::vector<std::string>& args);
};

inline constexpr const char* kWindowUsage =
    "usage: velterra [--dir DIR] [--port PORT] [--baud N] [--lut-functions] [FILE.vlt]\n"
    "  --dir DIR    start-up directory with CAM_VL.ini, Command.ini and clser.ini\n"
    "               (default: the current directory)\n"
    "  --port PORT  open the camera on PORT at start (COM1..COM4, clser-0..clser-5)\n"
    "  --baud N     baud rate for --port\n"
    "  --lut-functions\n"
    "               offer the LUT functions of the command menus (LUT workbook to and\n"
    "               from the camera, LUT editor) for this run\n"
    "  FILE.vlt     settings file to load at start\n"
    "  --help, --version\n";

}  // namespace velterra
