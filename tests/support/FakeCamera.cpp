#include "FakeCamera.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "FrameCodec.h"

namespace velterra::test {

namespace codec = velterra::codec;

Step Step::AfterBytes(size_t count) {
    return Step{Trigger::kBytes, count, {}, {}};
}
Step Step::AfterShortFrame() {
    return Step{Trigger::kShortFrame, 0, {}, {}};
}
Step Step::AfterMbFrame() {
    return Step{Trigger::kMbFrame, 0, {}, {}};
}
Step Step::Now() {
    return AfterBytes(0);
}

Step& Step::After(std::chrono::milliseconds pause) {
    delay = pause;
    return *this;
}

Step& Step::Send(const Bytes& bytes) {
    answer.insert(answer.end(), bytes.begin(), bytes.end());
    return *this;
}

Step& Step::Ack() {
    return Send({codec::kAck});
}
Step& Step::Nak() {
    return Send({codec::kNak});
}

size_t ShortRequestSizeIn(std::span<const uint8_t> bytes) {
    if (bytes.size() < 3) return 0;
    const size_t size =
        (bytes[2] & codec::kReadFlag) ? codec::kShortOverhead : (bytes[2] + codec::kShortOverhead);
    return bytes.size() >= size ? size : 0;
}

size_t MbRequestSizeIn(std::span<const uint8_t> bytes) {
    if (bytes.size() < codec::kMbHeaderSize) return 0;
    const size_t size = (size_t{bytes[2] & 0x7Fu} << 8 | bytes[3]) + codec::kMbOverhead;
    return bytes.size() >= size ? size : 0;
}

Bytes ShortReply(uint8_t commandId, const Bytes& data) {
    return codec::EncodeShortReply(commandId, data);
}

Bytes MbReply(uint8_t commandId, const Bytes& data) {
    return codec::EncodeMbReply(commandId, data);
}

static std::string ComVariable(int comNumber) {
    return "VELTERRA_COM" + std::to_string(comNumber);
}

void PointComAt(int comNumber, const std::string& path) {
    setenv(ComVariable(comNumber).c_str(), path.c_str(), 1);
}

void ForgetCom(int comNumber) {
    unsetenv(ComVariable(comNumber).c_str());
}

[[noreturn]] static void Fail(const char* what) {
    std::perror(what);
    std::abort();
}

FakeCamera::FakeCamera() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0) Fail("FakeCamera: posix_openpt");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) Fail("FakeCamera: grantpt/unlockpt");
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) Fail("FakeCamera: ptsname_r");
    path_ = name;
    slave_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave_ < 0) Fail("FakeCamera: open slave");
    termios tio{};
    if (tcgetattr(slave_, &tio) != 0) Fail("FakeCamera: tcgetattr");
    cfmakeraw(&tio);
    if (tcsetattr(slave_, TCSANOW, &tio) != 0) Fail("FakeCamera: tcsetattr");
    thread_ = std::thread([this] { Run(); });
}

FakeCamera::~FakeCamera() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
    close(slave_);
    close(master_);
}

void FakeCamera::Script(const std::vector<Step>& steps) {
    {
        std::lock_guard lock(mutex_);
        steps_.insert(steps_.end(), steps.begin(), steps.end());
    }
    changed_.notify_all();
}

void FakeCamera::Respond(Responder responder) {
    {
        std::lock_guard lock(mutex_);
        responder_ = std::move(responder);
    }
    changed_.notify_all();
}

void FakeCamera::Send(const Bytes& bytes) {
    Write(bytes);
}

Bytes FakeCamera::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

size_t FakeCamera::ReceivedCount() const {
    std::lock_guard lock(mutex_);
    return received_.size();
}

void FakeCamera::ClearReceived() {
    std::lock_guard lock(mutex_);
    received_.clear();
}

bool FakeCamera::WaitForReceived(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return received_.size() >= count; });
}

bool FakeCamera::ScriptDone() const {
    std::lock_guard lock(mutex_);
    return steps_.empty() && !busy_;
}

bool FakeCamera::WaitScriptDone(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return steps_.empty() && !busy_; });
}

void FakeCamera::Run() {
    uint8_t buffer[4096];
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stop_) return;
        }
        while (Answer()) {
        }
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, 10) <= 0) continue;
        if (p.revents & POLLIN) {
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n > 0) {
                std::lock_guard lock(mutex_);
                received_.insert(received_.end(), buffer, buffer + n);
                pending_.insert(pending_.end(), buffer, buffer + n);
                changed_.notify_all();
                continue;
            }
        }
        // Hang-up or error with nothing to read: do not spin.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool FakeCamera::Answer() {
    std::unique_lock lock(mutex_);
    if (stop_) return false;
    Response response;
    if (!steps_.empty()) {
        const Step& step = steps_.front();
        size_t need = 0;
        switch (step.trigger) {
            case Step::Trigger::kBytes:
                need = pending_.size() >= step.count ? step.count : SIZE_MAX;
                break;
            case Step::Trigger::kShortFrame:
                need = ShortRequestSizeIn(pending_);
                if (need == 0) need = SIZE_MAX;
                break;
            case Step::Trigger::kMbFrame:
                need = MbRequestSizeIn(pending_);
                if (need == 0) need = SIZE_MAX;
                break;
        }
        if (need == SIZE_MAX) return false;
        response = Response{need, step.answer, step.delay};
        steps_.pop_front();
    } else if (responder_ && !pending_.empty()) {
        Responder responder = responder_;
        const Bytes pending = pending_;
        lock.unlock();
        response = responder(pending);
        lock.lock();
        if (response.consumed == 0 && response.answer.empty()) return false;
    } else {
        return false;
    }
    pending_.erase(pending_.begin(),
                   pending_.begin() + std::min(response.consumed, pending_.size()));
    busy_ = true;
    lock.unlock();
    if (Pause(response.delay)) Write(response.answer);
    lock.lock();
    busy_ = false;
    changed_.notify_all();
    return true;
}

bool FakeCamera::Pause(std::chrono::milliseconds pause) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, pause, [&] { return stop_; });
}

void FakeCamera::Write(const Bytes& bytes) {
    std::lock_guard writing(writeMutex_);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return;
        {
            std::lock_guard lock(mutex_);
            if (stop_) return;
        }
        pollfd p{master_, POLLOUT, 0};
        poll(&p, 1, 50);
    }
}

}  // namespace velterra::test
