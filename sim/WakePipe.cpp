#include "WakePipe.h"

#include <fcntl.h>
#include <unistd.h>

namespace velterra::sim {

WakePipe::WakePipe() {
    int ends[2];
    if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) return;
    read_ = ends[0];
    write_ = ends[1];
}

WakePipe::~WakePipe() {
    if (read_ >= 0) close(read_);
    if (write_ >= 0) close(write_);
}

void WakePipe::Wake() const {
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing is lost when this write fails.
    [[maybe_unused]] const ssize_t n = write(write_, &byte, 1);
}

void WakePipe::Drain() const {
    char buffer[64];
    while (read(read_, buffer, sizeof buffer) > 0) {
    }
}

}  // namespace velterra::sim
