#include "SimSerialLine.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "ClserApi.h"

namespace velterra::clsersim {

namespace {

using Clock = std::chrono::steady_clock;

bool SpeedForCode(uint32_t code, speed_t* speed) {
    switch (code) {
        case CL_BAUDRATE_9600:
            *speed = B9600;
            return true;
        case CL_BAUDRATE_19200:
            *speed = B19200;
            return true;
        case CL_BAUDRATE_38400:
            *speed = B38400;
            return true;
        case CL_BAUDRATE_57600:
            *speed = B57600;
            return true;
        case CL_BAUDRATE_115200:
            *speed = B115200;
            return true;
        case CL_BAUDRATE_230400:
            *speed = B230400;
            return true;
        case CL_BAUDRATE_460800:
            *speed = B460800;
            return true;
        case CL_BAUDRATE_921600:
            *speed = B921600;
            return true;
        default:
            return false;
    }
}

// Milliseconds left until `deadline`, 0 once it has passed.
int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for `events` until the deadline; false when it passed first. A hung-up line (the
// simulator went away) is waited out like silence, without spinning.
bool WaitUntil(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int result = poll(&p, 1, RemainingMs(deadline));
        if (result < 0 && errno == EINTR) continue;
        if (result > 0 && (p.revents & events)) return true;
        if (result > 0) {
            const int left = RemainingMs(deadline);
            if (left > 0) poll(nullptr, 0, left);
        }
        return false;
    }
}

// Moves bytes with read() or write() until all moved or the deadline passed.
template <class Move>
int32_t MoveUntil(int fd, short events, uint8_t* buffer, uint32_t count, uint32_t timeoutMs,
                  uint32_t* moved, Move move) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    uint32_t done = 0;
    while (done < count) {
        const ssize_t result = move(fd, buffer + done, count - done);
        if (result > 0) {
            done += static_cast<uint32_t>(result);
            continue;
        }
        if (result < 0 && errno == EINTR) continue;
        // Nothing moved (a raw terminal reads 0 bytes when none are queued): wait for the line.
        if (!WaitUntil(fd, events, deadline)) break;
    }
    *moved = done;
    return done == count ? CL_ERR_NO_ERR : CL_ERR_TIMEOUT;
}

}  // namespace

int32_t SimSerialLine::Open(const std::string& path) {
    Close();
    if (path.empty()) return CL_ERR_INVALID_INDEX;
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == EBUSY ? CL_ERR_PORT_IN_USE : CL_ERR_INVALID_INDEX;
    termios tio{};
    // Like a grabber's serial port, a line serves one user at a time.
    if (tcgetattr(fd, &tio) != 0 || flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        const int32_t result = errno == EWOULDBLOCK ? CL_ERR_PORT_IN_USE : CL_ERR_INVALID_INDEX;
        close(fd);
        return result;
    }
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSTOPB | PARENB | CSIZE | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        ioctl(fd, TIOCNXCL);
        close(fd);
        return CL_ERR_INVALID_INDEX;
    }
    tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    return CL_ERR_NO_ERR;
}

void SimSerialLine::Close() {
    if (fd_ < 0) return;
    // A pseudo-terminal keeps the exclusive flag while its master stays open; clear it so the
    // next open by an ordinary user does not fail.
    ioctl(fd_, TIOCNXCL);
    close(fd_);
    fd_ = -1;
}

int32_t SimSerialLine::SetBaudCode(uint32_t code) {
    speed_t speed;
    if (!SpeedForCode(code, &speed)) return CL_ERR_BAUD_RATE_NOT_SUPPORTED;
    termios tio{};
    if (fd_ < 0 || tcgetattr(fd_, &tio) != 0) return CL_ERR_INVALID_REFERENCE;
    if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0 ||
        tcsetattr(fd_, TCSANOW, &tio) != 0) {
        return CL_ERR_BAUD_RATE_NOT_SUPPORTED;
    }
    return CL_ERR_NO_ERR;
}

int32_t SimSerialLine::Read(uint8_t* buffer, uint32_t count, uint32_t timeoutMs, uint32_t* moved) {
    return MoveUntil(fd_, POLLIN, buffer, count, timeoutMs, moved,
                     [](int fd, uint8_t* at, uint32_t n) { return read(fd, at, n); });
}

int32_t SimSerialLine::Write(const uint8_t* buffer, uint32_t count, uint32_t timeoutMs,
                             uint32_t* moved) {
    return MoveUntil(fd_, POLLOUT, const_cast<uint8_t*>(buffer), count, timeoutMs, moved,
                     [](int fd, uint8_t* at, uint32_t n) { return write(fd, at, n); });
}

}  // namespace velterra::clsersim
