#include "PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velterra::sim {

bool PseudoTerminal::Open(std::string* error) {
    Close();
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + ": " + std::strerror(errno);
        Close();
        return false;
    };
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0) return fail("posix_openpt");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) return fail("grantpt/unlockpt");
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) return fail("ptsname_r");
    path_ = name;
    slave_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave_ < 0) return fail("open slave");
    termios tio{};
    if (tcgetattr(slave_, &tio) != 0) return fail("tcgetattr");
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    if (tcsetattr(slave_, TCSANOW, &tio) != 0) return fail("tcsetattr");
    return true;
}

void PseudoTerminal::Close() {
    if (slave_ >= 0) {
        // The exclusive flag a host set stays on the terminal while the master is open; a
        // host that died without clearing it would lock every later user out.
        ioctl(slave_, TIOCNXCL);
        close(slave_);
        slave_ = -1;
    }
    if (master_ >= 0) {
        close(master_);
        master_ = -1;
    }
}

bool PseudoTerminal::ReleaseAbandonedPort() {
    int exclusive = 0;
    if (slave_ < 0 || ioctl(slave_, TIOCGEXCL, &exclusive) != 0 || exclusive == 0) return false;
    // A host sets the flag only while it holds the lock; a lock we can take is nobody's.
    if (flock(slave_, LOCK_EX | LOCK_NB) != 0) return false;
    ioctl(slave_, TIOCNXCL);
    flock(slave_, LOCK_UN);
    return true;
}

int PseudoTerminal::PendingForHost() const {
    int count = 0;
    if (slave_ < 0 || ioctl(slave_, FIONREAD, &count) != 0) return 0;
    return count;
}

std::size_t PseudoTerminal::Read(uint8_t* buffer, std::size_t capacity,
                                 std::chrono::milliseconds timeout) {
    if (master_ < 0) return 0;
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return 0;
    if ((p.revents & POLLIN) == 0) return 0;
    const ssize_t n = read(master_, buffer, capacity);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

std::size_t PseudoTerminal::Write(std::span<const uint8_t> bytes, const std::atomic<bool>& stop,
                                  std::chrono::milliseconds patience) {
    std::size_t done = 0;
    auto lastProgress = std::chrono::steady_clock::now();
    while (master_ >= 0 && done < bytes.size() && !stop) {
        const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            lastProgress = std::chrono::steady_clock::now();
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) break;
        if (std::chrono::steady_clock::now() - lastProgress > patience) break;
        pollfd p{master_, POLLOUT, 0};
        poll(&p, 1, 20);
    }
    return done;
}

}  // namespace velterra::sim
