// A serial device opened exclusively, standing in for the Windows COM port handle: raw 8N1,
// no flow control, non-blocking with bounded waits.
#pragma once

#include <cstdint>
#include <string>

namespace velterra::platform {

class SerialDevice {
  public:
    enum class OpenResult {
        kOk,
        kNotFound,          // no such device
        kPermissionDenied,  // usually: the user is not in the dialout group
        kBusy,              // another program holds the port
        kNotTerminal,       // the path is not a serial device
        kUnsupportedBaud,   // the terminal layer does not know the rate
        kFailed,            // any other error
    };

    SerialDevice() = default;
    ~SerialDevice() { Close(); }
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens and configures the device; on failure nothing stays open or locked.
    OpenResult Open(const std::string& path, uint32_t baudRate);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Bytes in the input queue; 0 when closed.
    int32_t BytesWaiting() const;
    // Bytes not yet sent from the output queue; 0 when closed.
    int32_t BytesPendingOutput() const;

    // Reads min(count, waiting) bytes; 0 at once when nothing is waiting. A read that would
    // block waits up to 30000 ms.
    int32_t Read(uint8_t* buffer, int32_t count);
    // Writes one byte per call; a byte that cannot go out within 1000 ms ends the write. Returns
    // the bytes written before that.
    int32_t Write(const uint8_t* buffer, int32_t count);
    // Throws away what the input queue holds; returns how many bytes that was. Never waits.
    int32_t DiscardInput();

    // Whether the terminal layer supports the baud rate.
    static bool IsSupportedBaud(uint32_t baudRate);

  private:
    int fd_ = -1;
};

}  // namespace velterra::platform
