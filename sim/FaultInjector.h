// Decides, frame by frame, whether the camera misbehaves: a seeded generator, so a seed
// repeats the same faults.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "SimulatorOptions.h"

namespace velterra::sim {

enum class Fault { kNone, kNak, kDrop, kGarbage, kShort };

const char* FaultText(Fault fault);

class FaultInjector {
  public:
    explicit FaultInjector(const SimulatorOptions& options);

    // One draw per well-formed frame; the rates are taken in the order NAK, drop, garbage,
    // short.
    Fault Draw();
    // Random bytes in place of an answer of `size` bytes; the first is never ACK, so the
    // host cannot mistake them for an acknowledge.
    std::vector<uint8_t> Garbage(std::size_t size);

  private:
    double nakRate_;
    double dropRate_;
    double garbageRate_;
    double shortRate_;
    std::mt19937_64 generator_;
};

}  // namespace velterra::sim
