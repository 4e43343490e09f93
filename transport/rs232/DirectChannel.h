// The RS-232 unframed transfer as the channel the shared MB exchange runs over.
#pragma once

#include <cstdint>

#include "Exchanges.h"
#include "RsPort.h"
#include "UnframedChannel.h"

namespace velterra::rs232 {

class DirectChannel : public codec::UnframedChannel {
  public:
    explicit DirectChannel(RsPort& port) : port_(port) {}

    bool Transfer(bool write, int32_t count, uint8_t* buffer) override {
        return DirectTransfer(port_, write, count, buffer) != 0;
    }
    void DiscardInput() override { port_.DiscardInput(); }
    void DrainAfterFailure() override { port_.DrainAfterFailure(); }

  private:
    RsPort& port_;
};

}  // namespace velterra::rs232
