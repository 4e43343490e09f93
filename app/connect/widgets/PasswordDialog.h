#pragma once
#include <QDialog>

class QLineEdit;

namespace velterra {

class IUserInterface;

// The Password dialog: one hidden-characters edit with the focus. OK checks the entry against
// the access code and sets the access flag when it matches; a wrong entry says "Incorrect
// password!". The dialog ends with OK either way, and never clears the flag.
class CPasswordDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kIdPasswordEdit = 1009;

    CPasswordDialog(bool& accessGranted, IUserInterface& ui, QWidget* parent = nullptr);

    QLineEdit* PasswordEdit() const { return edit_; }
    // What OK does.
    void CheckPassword();

  private:
    bool& accessGranted_;
    IUserInterface& ui_;
    QLineEdit* edit_;
};

}  // namespace velterra
