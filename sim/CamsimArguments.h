// Command line of velterra-camsim.
#pragma once

#include <string>
#include <vector>

#include "SimulatorOptions.h"

namespace velterra::sim {

inline constexpr const char* kCamsimUsage =
    "usage: velterra-camsim [--dir DIR] --model NAME [--kernel 0|1] [--link PATH] [--log FILE]\n"
    "                       [--seed N] [--values FILE] [--busy-ms N] [--nak-rate R]\n"
    "                       [--drop-rate R] [--garbage-rate R] [--delay-ms N] [--unplug-after N]\n"
    "                       [--short-rate R] [--fault-id 0xNN]\n"
    "\n"
    "Serves a simulated camera of model NAME, described by the configuration in DIR (default:\n"
    "the current folder), on a new pseudo-terminal. The first line of output is the terminal's\n"
    "path; --link also makes PATH a symbolic link to it. Runs until interrupted.\n"
    "\n"
    "  --kernel 0|1        short frames (default) or MB frames\n"
    "  --log FILE          one line per frame received: time, frame, answer\n"
    "  --values FILE       initial values from section [Simulator] (keys 0xNN)\n"
    "  --busy-ms N         busy period after FrnCoef/PrnuCoef (default 3000)\n"
    "  --nak-rate R        share of frames answered with NAK (0 to 1)\n"
    "  --drop-rate R       share of frames not answered at all\n"
    "  --garbage-rate R    share of frames answered with random bytes\n"
    "  --short-rate R      share of reads answered one byte short (a short-frame reply\n"
    "                      without its last byte, an MB reply without its first data byte)\n"
    "  --seed N            seed of the fault generator (default 1)\n"
    "  --delay-ms N        answer every frame N ms late\n"
    "  --unplug-after N    close the terminal after N frames, as a pulled cable\n"
    "  --fault-id 0xNN     faults and --delay-ms hit only frames of this command id\n";

struct CamsimArguments {
    SimulatorOptions options;
    std::string link;
    bool help = false;
};

// Parses the arguments after the program name; false with a message in *error.
bool ParseCamsimArguments(const std::vector<std::string>& args, CamsimArguments& out,
                          std::string* error);

}  // namespace velterra::sim
