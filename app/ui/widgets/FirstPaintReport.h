#pragma once
#include <QObject>
#include <chrono>

class QWidget;

namespace velterra {

// For the start-up benchmark: once the window has painted for the first time, prints
// "first-paint-ms N rss-kb M" on standard output (time since `start`, resident memory then)
// and ends the program. Switched on by VELTERRA_REPORT_FIRST_PAINT=1.
class FirstPaintReport : public QObject {
    Q_OBJECT

  public:
    static constexpr const char* kVariable = "VELTERRA_REPORT_FIRST_PAINT";
    // Watches `window` when the variable is set; does nothing otherwise.
    static void InstallIfAsked(QWidget& window, std::chrono::steady_clock::time_point start);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    FirstPaintReport(QWidget& window, std::chrono::steady_clock::time_point start);
    void Report();

    QWidget& window_;
    std::chrono::steady_clock::time_point start_;
    bool reported_ = false;
};

}  // namespace velterra
