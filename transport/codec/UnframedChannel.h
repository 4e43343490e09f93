// A transport's unframed transfer, as the MB exchange runs over it.
#pragma once

#include <cstdint>

namespace velterra::codec {

class UnframedChannel {
  public:
    virtual ~UnframedChannel() = default;
    // Moves exactly `count` bytes (count > 0) to or from `buffer` within the transport's time
    // limits; false when they did not all move.
    virtual bool Transfer(bool write, int32_t count, uint8_t* buffer) = 0;
    // Drops what is waiting on the line now, without waiting.
    virtual void DiscardInput() = 0;
    // After a failed exchange: drops the rest of the answer until the line falls silent.
    virtual void DrainAfterFailure() = 0;
};

}  // namespace velterra::codec
