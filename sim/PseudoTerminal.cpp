#include "PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
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
    // Optional: without the watch the camera falls back to looking now and then.
    closes_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (closes_ >= 0 && inotify_add_watch(closes_, name, IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        close(closes_);
        closes_ = -1;
    }
    return true;
}

void PseudoTerminal::Close() {
    if (closes_ >= 0) {
        close(closes_);
        closes_ = -1;
    }
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

PseudoTerminal::ReadResult PseudoTerminal::Read(uint8_t* buffer, std::size_t capacity,
                                                int timeoutMs, int wakeFd) {
    ReadResult result;
    if (master_ < 0) return result;
    pollfd p[3] = {{master_, POLLIN, 0}, {closes_, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    if (poll(p, 3, timeoutMs) <= 0) return result;
    if (p[1].revents & POLLIN) {
        // The events themselves say nothing more than "a host closed"; take them all.
        alignas(inotify_event) char events[1024];
        while (read(closes_, events, sizeof events) > 0) {
        }
        result.hostClosed = true;
    }
    result.woken = (p[2].revents & POLLIN) != 0;
    if (p[0].revents & POLLIN) {
        const ssize_t n = read(master_, buffer, capacity);
        if (n > 0) result.bytes = static_cast<std::size_t>(n);
    }
    return result;
}

std::size_t PseudoTerminal::Write(std::span<const uint8_t> bytes, const std::atomic<bool>& stop,
                                  int wakeFd, std::chrono::milliseconds patience) {
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
        const auto waited = std::chrono::steady_clock::now() - lastProgress;
        if (waited > patience) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(patience - waited);
        pollfd p[2] = {{master_, POLLOUT, 0}, {wakeFd, POLLIN, 0}};
        poll(p, 2, static_cast<int>(left.count()) + 1);
    }
    return done;
}

}  // namespace velterra::sim
