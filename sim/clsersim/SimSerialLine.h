// One serial line of the simulator's clser library: a terminal device opened without sharing,
// raw 8N1, with reads and writes bounded by a time-out as the Camera Link serial calls are.
#pragma once

#include <cstdint>
#include <string>

namespace velterra::clsersim {

class SimSerialLine {
  public:
    SimSerialLine() = default;
    ~SimSerialLine() { Close(); }
    SimSerialLine(const SimSerialLine&) = delete;
    SimSerialLine& operator=(const SimSerialLine&) = delete;

    // 0 or a CL_ERR_* code; on failure nothing stays open.
    int32_t Open(const std::string& path);
    void Close();

    // Sets the line rate from a clSetBaudRate code (exactly one known bit).
    int32_t SetBaudCode(uint32_t code);

    // Moves up to `count` bytes within `timeoutMs`; `moved` receives how many did. 0 when all
    // moved, CL_ERR_TIMEOUT otherwise.
    int32_t Read(uint8_t* buffer, uint32_t count, uint32_t timeoutMs, uint32_t* moved);
    int32_t Write(const uint8_t* buffer, uint32_t count, uint32_t timeoutMs, uint32_t* moved);

  private:
    int fd_ = -1;
};

}  // namespace velterra::clsersim
