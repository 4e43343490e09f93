#include "MessageHandler.h"

#include <atomic>
#include <cstdio>

#include "velterradll.h"

namespace {

using Handler = void (*)(const char*);
using ProgressHandler = void (*)(int32_t, int32_t);

// Installed from any thread, read by whichever thread runs a transfer.
std::atomic<Handler> g_handler{nullptr};
std::atomic<ProgressHandler> g_progress{nullptr};

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

void ReportLibraryProgress(int done, int total) {
    if (ProgressHandler handler = g_progress.load()) handler(done, total);
}

}  // namespace velterra::bulk

extern "C" void tvr_SetMessageHandler(void (*handler)(const char* text)) {
    g_handler.store(handler);
}

extern "C" void tvr_SetProgressHandler(void (*handler)(int32_t done, int32_t total)) {
    g_progress.store(handler);
}
