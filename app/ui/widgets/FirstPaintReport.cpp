#include "FirstPaintReport.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace velterra {

namespace {

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

}  // namespace

FirstPaintReport::FirstPaintReport(QWidget& window, std::chrono::steady_clock::time_point start)
    : QObject(&window), window_(window), start_(start) {}

void FirstPaintReport::InstallIfAsked(QWidget& window,
                                      std::chrono::steady_clock::time_point start) {
    const char* asked = std::getenv(kVariable);
    if (asked == nullptr || std::strcmp(asked, "1") != 0) return;
    qApp->installEventFilter(new FirstPaintReport(window, start));
}

bool FirstPaintReport::eventFilter(QObject* watched, QEvent* event) {
    if (!reported_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
        reported_ = true;
        // After the paint that is under way has reached the screen.
        QTimer::singleShot(0, this, &FirstPaintReport::Report);
    }
    return false;
}

void FirstPaintReport::Report() {
    const auto elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_);
    std::printf("first-paint-ms %.1f rss-kb %ld\n", elapsed.count(), ResidentKilobytes());
    std::fflush(stdout);
    window_.close();
}

}  // namespace velterra
