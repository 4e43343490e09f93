// One open COM port of the RS-232 transport.
#pragma once

#include <cstdint>
#include <string>

#include "SerialDevice.h"

namespace velterra::rs232 {

class RsPort {
  public:
    // Opens COM<index+1> (see platform/ComPortPath.h) for raw 8N1 at the given rate, without
    // sharing. Check IsOpen() afterwards; a failed open holds nothing.
    RsPort(int32_t index, uint32_t baudRate);
    ~RsPort() { Close(); }
    RsPort(const RsPort&) = delete;
    RsPort& operator=(const RsPort&) = delete;

    bool IsOpen() const { return open_; }
    const std::string& Name() const { return name_; }
    uint32_t BaudRate() const { return baudRate_; }
    void Close();

    int32_t BytesWaiting() const { return open_ ? device_.BytesWaiting() : 0; }
    int32_t BytesPendingOutput() const { return open_ ? device_.BytesPendingOutput() : 0; }
    int32_t Read(uint8_t* buffer, int32_t count) { return open_ ? device_.Read(buffer, count) : 0; }
    int32_t Write(const uint8_t* buffer, int32_t count) {
        return open_ ? device_.Write(buffer, count) : 0;
    }
    // Drops what is waiting now (before a request, so nothing left from an earlier exchange is
    // taken for its answer); returns the bytes dropped.
    int32_t DiscardInput() { return open_ ? device_.DiscardInput() : 0; }
    // After a failed exchange: drops the rest of the reply until the line falls silent.
    void DrainAfterFailure();

  private:
    platform::SerialDevice device_;
    bool open_ = false;
    std::string name_ = "COM1";
    uint32_t baudRate_ = 9600;
};

}  // namespace velterra::rs232
