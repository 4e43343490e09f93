#pragma once
#include <QDialog>

#include "connect/PixelSetModel.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velterra {

class IUserInterface;

// The Pixel Set dialog over the program's one-pixel request: "FPN" (checked on opening) or
// "PRNU", a 0-based pixel number and a value. "Set" stores both edits into the request (a pixel
// number out of the sensor is stored with a warning) and leaves the dialog open; OK ends it for
// the write of what "Set" stored last, Cancel ends it without a write.
class CPixelSetDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kIdFpn = 1028;
    static constexpr int kIdPrnu = 1029;
    static constexpr int kIdPixelEdit = 1030;
    static constexpr int kIdValueEdit = 1010;
    static constexpr int kIdSet = 1027;

    CPixelSetDialog(OnePixelRequest& request, IUserInterface& ui, QWidget* parent = nullptr);

    // Runs the dialog modally; true when it ended with OK.
    static bool Run(OnePixelRequest& request, IUserInterface& ui, QWidget* parent);

    QRadioButton* FpnRadio() const { return fpn_; }
    QRadioButton* PrnuRadio() const { return prnu_; }
    QLineEdit* PixelEdit() const { return pixel_; }
    QLineEdit* ValueEdit() const { return value_; }
    QPushButton* SetButton() const { return set_; }

    // What "Set" does.
    void StorePixelEntry();

  private:
    PixelSetModel model_;
    IUserInterface& ui_;
    QRadioButton* fpn_;
    QRadioButton* prnu_;
    QLineEdit* pixel_;
    QLineEdit* value_;
    QPushButton* set_;
};

}  // namespace velterra
