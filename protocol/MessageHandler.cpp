#include "MessageHandler.h"

#include <atomic>
#include <cstdio>

#include "velterradll.h"

namespace {

using Handler = void (*)(const char*);

// Installed from any thread, read by whichever thread runs a transfer.
std::atomic<Handler> g_handler{nullptr};

}  // namespace

namespace velterra::bulk {

void ShowLibraryMessage(const char* text) {
    if (text == nullptr) return;
    if (Handler handler = g_handler.load()) {
        handler(text);
    } else {
        std::fprintf(stderr, "%s\n", text);
    }
}

}  // namespace velterra::bulk

extern "C" void tvr_SetMessageHandler(void (*handler)(const char* text)) {
    g_handler.store(handler);
}
