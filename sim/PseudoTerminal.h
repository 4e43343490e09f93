// The camera's end of the cable: the master side of a pseudo-terminal whose slave path a host
// opens as its serial device.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>

namespace velterra::sim {

class PseudoTerminal {
  public:
    PseudoTerminal() = default;
    ~PseudoTerminal() { Close(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a raw pseudo-terminal; false with the reason in *error.
    bool Open(std::string* error);
    // Hangs up: a host that has the slave open sees the line drop, and the path disappears.
    void Close();
    bool IsOpen() const { return master_ >= 0; }
    const std::string& SlavePath() const { return path_; }

    // Waits up to `timeout` for bytes and reads what is there: the count, 0 for none.
    std::size_t Read(uint8_t* buffer, std::size_t capacity, std::chrono::milliseconds timeout);
    // Writes all bytes, waiting while the host's input queue is full; gives up when `stop` is
    // set or nothing could be written for `patience`. Returns the bytes written.
    std::size_t Write(std::span<const uint8_t> bytes, const std::atomic<bool>& stop,
                      std::chrono::milliseconds patience);

    // A host that died with the port open leaves the exclusive flag set, and every later open
    // by an ordinary user fails with EBUSY. When the flag is set but no host holds the port's
    // lock any more, clear it; true when it did.
    bool ReleaseAbandonedPort();

    // Bytes sent that the host has not read yet.
    int PendingForHost() const;

  private:
    int master_ = -1;
    // The camera keeps the slave open too, so the line does not hang up between the host's
    // opens and closes.
    int slave_ = -1;
    std::string path_;
};

}  // namespace velterra::sim
