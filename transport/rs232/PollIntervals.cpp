#include "PollIntervals.h"

#include <atomic>

namespace velterra::rs232 {

namespace {
std::atomic<uint32_t> libraryBaud{9600};
}

void SetLibraryBaud(uint32_t baudRate) {
    libraryBaud.store(baudRate, std::memory_order_relaxed);
}

uint32_t LibraryBaud() {
    return libraryBaud.load(std::memory_order_relaxed);
}

uint32_t AcknowledgePollMs(uint8_t commandId) {
    // The slow table commands answer quickly once they are ready; poll them more often.
    if (commandId == 0xC5 || commandId == 0xC8) return 40;
    return LibraryBaud() == 9600 ? 100 : 120;
}

uint32_t ReplyPollMs() {
    switch (LibraryBaud()) {
        case 9600:
            return 170;
        case 19200:
            return 100;
        default:
            return 200;
    }
}

uint32_t OutputDrainPollMs() {
    return LibraryBaud() == 9600 ? 100 : 120;
}

}  // namespace velterra::rs232
