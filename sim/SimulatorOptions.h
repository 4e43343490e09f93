// What a simulated camera is and how it misbehaves. Shared by the program velterra-camsim and
// by tests that run the simulator in-process.
#pragma once

#include <cstdint>
#include <string>

namespace velterra::sim {

struct SimulatorOptions {
    // Folder holding CAM_VL.ini, Command.ini and the model command files.
    std::string configDir = ".";
    // Model name as the Branch_Type entries of CAM_VL.ini give it.
    std::string model;
    // 0: short frames; 1: MB frames (the model text read is still answered as a short frame,
    // since the host identifies a camera before it knows the kernel).
    int kernel = 0;
    // Optional INI file whose [Simulator] section gives initial parameter values.
    std::string valuesFile;
    // Optional log file: one line per frame received.
    std::string logFile;

    // Seed of the generator behind the fault rates; the same seed gives the same faults.
    uint64_t seed = 1;
    // Probabilities from 0 to 1, drawn once per well-formed frame, checked in this order.
    double nakRate = 0.0;      // answer NAK instead of acting on the frame
    double dropRate = 0.0;     // no answer at all
    double garbageRate = 0.0;  // random bytes (never starting with ACK) instead of the answer
    // A read's reply one byte short: a short frame without its last byte, an MB frame that
    // states one data byte fewer and lacks the first (well-formed, only incomplete).
    double shortRate = 0.0;
    // Every answer goes out this late.
    int delayMs = 0;
    // When 0 to 255: the faults and the delay hit only frames of this command id, so one
    // parameter misbehaves while the others answer.
    int faultCommandId = -1;
    // After this many frames (well-formed or not) the pseudo-terminal closes, as a pulled
    // cable would; 0 never.
    int unplugAfter = 0;
    // How long the camera stays busy after the flat-field commands.
    int busyMs = 3000;
    // A frame whose bytes stop arriving for this long is dropped with a NAK.
    int frameTimeoutMs = 1000;
    // How long a raw table transfer may pause between bytes before it is abandoned.
    int rawTimeoutMs = 5000;
};

}  // namespace velterra::sim
