#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>
#include <string>
#include <vector>

class QApplication;

namespace velterra {

// The one QApplication of a widget test program, offscreen, with its settings in a scratch
// place (QStandardPaths test mode) so no test touches the user's own.
QApplication& TestApp();

// Answers the modal boxes and dialogs that come up while a test runs the event loop: message
// boxes are read and closed with OK, a Password dialog gets the next queued entry and OK (or
// Cancel when none is queued).
class ModalAnswerer : public QObject {
    Q_OBJECT

  public:
    ModalAnswerer();
    std::vector<std::string> messages;
    std::deque<QString> passwords;
    int passwordDialogs = 0;

  private:
    void Answer();
    QTimer timer_;
    QPointer<QWidget> answering_;
};

}  // namespace velterra
