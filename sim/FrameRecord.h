// One frame as the camera received it, with what it answered: the unit of the log and of
// what tests ask the simulator.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "FrameReader.h"

namespace velterra::sim {

struct FrameRecord {
    enum class Kind {
        kFrame,      // a well-formed request
        kMalformed,  // bad checksum, bad ETX, incomplete: answered with NAK
        kSkipped,    // bytes between frames
        kRaw,        // a raw table block or handshake byte
        kEvent,      // something the camera did by itself (busy over, unplugged)
    };
    Kind kind = Kind::kFrame;
    std::chrono::system_clock::time_point time;
    Frame frame;                  // kFrame
    std::vector<uint8_t> bytes;   // the bytes received (kMalformed, kSkipped, kRaw)
    std::vector<uint8_t> answer;  // the bytes sent back, if any
    std::string outcome;          // what the camera made of it, e.g. "NAK (read-only)"
};

// One log line (without line end): time, decoded frame, answer.
std::string DescribeRecord(const FrameRecord& record);

}  // namespace velterra::sim
