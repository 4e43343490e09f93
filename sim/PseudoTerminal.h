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

    struct ReadResult {
        std::size_t bytes = 0;    // read into the buffer
        bool hostClosed = false;  // a host closed the terminal since the last read
        bool woken = false;       // `wakeFd` is readable
    };
    // Waits until the host sends bytes, a host closes its end, `wakeFd` (when not -1) becomes
    // readable or `timeoutMs` passes (-1: no limit), and reads the bytes that are there.
    ReadResult Read(uint8_t* buffer, std::size_t capacity, int timeoutMs, int wakeFd);
    // Writes all bytes, waiting while the host's input queue is full; gives up when `stop` is
    // set (`wakeFd` readable tells the wait to look) or nothing could be written for
    // `patience`. Returns the bytes written.
    std::size_t Write(std::span<const uint8_t> bytes, const std::atomic<bool>& stop, int wakeFd,
                      std::chrono::milliseconds patience);

    // A host that died with the port open leaves the exclusive flag set, and every later open
    // by an ordinary user fails with EBUSY. When the flag is set but no host holds the port's
    // lock any more, clear it; true when it did.
    bool ReleaseAbandonedPort();
    // Whether Read() reports hosts closing the terminal. Without it (no inotify) the caller
    // has to look for an abandoned port now and then.
    bool SeesHostCloses() const { return closes_ >= 0; }

    // Bytes sent that the host has not read yet.
    int PendingForHost() const;

  private:
    int master_ = -1;
    // The camera keeps the slave open too, so the line does not hang up between the host's
    // opens and closes.
    int slave_ = -1;
    // inotify watch on the slave's path for closes: a dead host's descriptors close with it.
    int closes_ = -1;
    std::string path_;
};

}  // namespace velterra::sim
