#include "FaultInjector.h"

#include <algorithm>

#include "FrameCodec.h"

namespace velterra::sim {

const char* FaultText(Fault fault) {
    switch (fault) {
        case Fault::kNone:
            return "none";
        case Fault::kNak:
            return "NAK fault";
        case Fault::kDrop:
            return "dropped";
        case Fault::kGarbage:
            return "garbage fault";
        case Fault::kShort:
            return "short reply";
    }
    return "";
}

FaultInjector::FaultInjector(const SimulatorOptions& options)
    : nakRate_(std::clamp(options.nakRate, 0.0, 1.0)),
      dropRate_(std::clamp(options.dropRate, 0.0, 1.0)),
      garbageRate_(std::clamp(options.garbageRate, 0.0, 1.0)),
      shortRate_(std::clamp(options.shortRate, 0.0, 1.0)),
      generator_(options.seed) {}

Fault FaultInjector::Draw() {
    if (nakRate_ <= 0 && dropRate_ <= 0 && garbageRate_ <= 0 && shortRate_ <= 0) {
        return Fault::kNone;
    }
    // Independent draws, so that a rate of 1 means every frame whatever the other rates.
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    if (nakRate_ > 0 && unit(generator_) < nakRate_) return Fault::kNak;
    if (dropRate_ > 0 && unit(generator_) < dropRate_) return Fault::kDrop;
    if (garbageRate_ > 0 && unit(generator_) < garbageRate_) return Fault::kGarbage;
    if (shortRate_ > 0 && unit(generator_) < shortRate_) return Fault::kShort;
    return Fault::kNone;
}

std::vector<uint8_t> FaultInjector::Garbage(std::size_t size) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<uint8_t> out(std::max<std::size_t>(size, 1));
    for (auto& b : out) b = static_cast<uint8_t>(byte(generator_));
    if (out[0] == velterra::codec::kAck) out[0] = static_cast<uint8_t>(~out[0]);
    return out;
}

}  // namespace velterra::sim
