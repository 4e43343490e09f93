// An open serial reference of a clser library, with the byte moves the exchanges are made of.
#pragma once

#include <cstdint>

#include "ClserLibrary.h"
#include "UnframedChannel.h"

namespace velterra::clserial {

class ClSerialLine : public codec::UnframedChannel {
  public:
    ClSerialLine(const ClserLibrary& library, void* serialRef)
        : library_(library), serialRef_(serialRef) {}

    // One clSerialWrite / clSerialRead call of `count` bytes; true when the library reports
    // success and that every byte moved.
    bool WriteOnce(const uint8_t* data, uint32_t count, uint32_t timeoutMs);
    bool ReadOnce(uint8_t* data, uint32_t count, uint32_t timeoutMs);

    // The unframed transfer: reads repeat with the whole time-out for what is still missing,
    // writes go out in calls of at most 2040 bytes, each call followed by a 10 ms pause.
    bool Transfer(bool write, int32_t count, uint8_t* buffer) override;

    // Reads away, with a time-out of 0, what the library holds for this line now.
    void DiscardInput() override { Discard(); }
    void DrainAfterFailure() override;

  private:
    // One call moving up to `count` bytes; the count the library reports, or -1 on failure.
    int64_t Call(bool write, uint8_t* data, uint32_t count, uint32_t timeoutMs);
    // The bytes DiscardInput dropped.
    int32_t Discard();

    const ClserLibrary& library_;
    void* serialRef_;
};

}  // namespace velterra::clserial
