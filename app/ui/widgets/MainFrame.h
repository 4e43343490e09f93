#pragma once
#include <QMainWindow>

class QCloseEvent;

namespace velterra {

// The program's single top-level window: the menu bar with its fixed pop-ups and the About box.
// The database pop-ups hold only their "(Empty)" placeholder until the menu database is read.
class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int kIdEmptyPlaceholder = 104;
    static constexpr int kIdAbout = 57664;
    static constexpr int kIdExit = 57665;

    explicit CMainFrame(QWidget* parent = nullptr);

  protected:
    // Closing never asks to save the settings.
    void closeEvent(QCloseEvent* event) override;

  private:
    void OnAbout();
};

}  // namespace velterra
