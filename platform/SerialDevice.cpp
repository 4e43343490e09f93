#include "SerialDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace velterra::platform {

namespace {

constexpr int kReadWaitMs = 30000;
constexpr int kByteWriteWaitMs = 1000;

bool SpeedFor(uint32_t baudRate, speed_t* speed) {
    struct Rate {
        uint32_t baud;
        speed_t speed;
    };
    static constexpr Rate kRates[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},
        {150, B150},         {200, B200},         {300, B300},         {600, B600},
        {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
        {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
        {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
        {3500000, B3500000}, {4000000, B4000000},
    };
    for (const Rate& rate : kRates) {
        if (rate.baud == baudRate) {
            *speed = rate.speed;
            return true;
        }
    }
    return false;
}

SerialDevice::OpenResult FromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
        case ENOTDIR:
            return SerialDevice::OpenResult::kNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return SerialDevice::OpenResult::kPermissionDenied;
        case EBUSY:
        case EWOULDBLOCK:
            return SerialDevice::OpenResult::kBusy;
        case ENOTTY:
        case EINVAL:
            return SerialDevice::OpenResult::kNotTerminal;
        default:
            return SerialDevice::OpenResult::kFailed;
    }
}

bool WaitFor(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    int result;
    do {
        result = poll(&p, 1, timeoutMs);
    } while (result < 0 && errno == EINTR);
    return result > 0 && (p.revents & events);
}

}  // namespace

bool SerialDevice::IsSupportedBaud(uint32_t baudRate) {
    speed_t speed;
    return SpeedFor(baudRate, &speed);
}

SerialDevice::OpenResult SerialDevice::Open(const std::string& path, uint32_t baudRate) {
    Close();
    speed_t speed;
    if (!SpeedFor(baudRate, &speed)) return OpenResult::kUnsupportedBaud;
    if (path.empty()) return OpenResult::kNotFound;

    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FromErrno(errno);
    auto fail = [fd](OpenResult result) {
        close(fd);  // also drops the flock
        return result;
    };

    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return fail(OpenResult::kNotTerminal);
    // Without sharing: the advisory lock covers other programs that lock (and root, whom the
    // exclusive flag does not stop); the exclusive flag turns away later opens by anyone else.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(FromErrno(errno));
    if (ioctl(fd, TIOCEXCL) != 0) return fail(FromErrno(errno));

    // Raw bytes, 8N1, receiver on, modem lines ignored, no flow control of either kind.
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSTOPB | PARENB | CSIZE | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0 ||
        tcsetattr(fd, TCSANOW, &tio) != 0) {
        ioctl(fd, TIOCNXCL);
        return fail(OpenResult::kFailed);
    }
    // A freshly opened port starts with empty queues, as the device it stands in for does.
    tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    return OpenResult::kOk;
}

void SerialDevice::Close() {
    if (fd_ < 0) return;
    // A pseudo-terminal keeps the exclusive flag after its slave is closed while the master
    // stays open; clear it so the next open by an ordinary user does not fail with EBUSY.
    ioctl(fd_, TIOCNXCL);
    close(fd_);
    fd_ = -1;
}

int32_t SerialDevice::BytesWaiting() const {
    int count = 0;
    if (fd_ < 0 || ioctl(fd_, FIONREAD, &count) != 0) return 0;
    return count;
}

int32_t SerialDevice::BytesPendingOutput() const {
    int count = 0;
    if (fd_ < 0 || ioctl(fd_, TIOCOUTQ, &count) != 0) return 0;
    return count;
}

int32_t SerialDevice::Read(uint8_t* buffer, int32_t count) {
    if (fd_ < 0 || buffer == nullptr || count <= 0) return 0;
    const int32_t waiting = BytesWaiting();
    if (waiting <= 0) return 0;
    const size_t want = static_cast<size_t>(std::min(count, waiting));
    ssize_t got = read(fd_, buffer, want);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
        if (!WaitFor(fd_, POLLIN, kReadWaitMs)) return 0;
        got = read(fd_, buffer, want);
    }
    return got > 0 ? static_cast<int32_t>(got) : 0;
}

int32_t SerialDevice::DiscardInput() {
    const int32_t waiting = BytesWaiting();
    if (waiting > 0) tcflush(fd_, TCIFLUSH);
    return waiting;
}

int32_t SerialDevice::Write(const uint8_t* buffer, int32_t count) {
    if (fd_ < 0 || buffer == nullptr) return 0;
    int32_t written = 0;
    for (int32_t i = 0; i < count; ++i) {
        ssize_t result = write(fd_, buffer + i, 1);
        if (result < 0 && (errno == EAGAIN || errno == EINTR)) {
            // The byte is pending: give it its second of waiting, then stop.
            if (!WaitFor(fd_, POLLOUT, kByteWriteWaitMs)) break;
            result = write(fd_, buffer + i, 1);
            if (result < 0 && (errno == EAGAIN || errno == EINTR)) break;
        }
        // Any other failure counts as written, as the port this replaces did; the exchange
        // then fails at the acknowledge for want of an answer.
        ++written;
    }
    return written;
}

}  // namespace velterra::platform
