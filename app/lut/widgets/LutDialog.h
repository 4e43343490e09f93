#pragma once
#include <QDialog>
#include <cstdint>
#include <memory>

#include "lut/LutEditorActions.h"
#include "lut/LutModel.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velterra {

class CLutView;

// "Look-Up Table User Interface": the modeless LUT editor. It owns the LUT model (curves and
// nodes of every option), shows its state and forwards the user's actions to it and to the
// camera actions. Exit, Escape and the close box only hide it; the curves stay for the next
// showing.
class CLutDialog : public QDialog {
    Q_OBJECT

  public:
    // Control ids of the dialog's template, kept as object names.
    static constexpr int kIdColor = 1006;
    static constexpr int kIdMono = 1007;
    static constexpr int kIdBits = 1038;
    static constexpr int kIdOption = 1008;
    static constexpr int kIdInput = 1010;
    static constexpr int kIdOutput = 1011;
    static constexpr int kIdImageFrame = 1012;
    static constexpr int kIdVerticalRamp = 1031;
    static constexpr int kIdHorizontalRamp = 1032;
    static constexpr int kIdResetThis = 1042;
    static constexpr int kIdResetAll = 1033;
    static constexpr int kIdSaveToFile = 1030;
    static constexpr int kIdLoadVectors = 1045;
    static constexpr int kIdWriteEachTap = 1043;
    static constexpr int kIdWriteOption = 1040;
    static constexpr int kIdOptionText = 1041;
    static constexpr int kIdAllTapsNote = 1044;
    static constexpr int kIdExit = 2;

    explicit CLutDialog(QWidget* parent = nullptr);
    ~CLutDialog() override;

    // The camera and file buttons act through these; without them they do nothing. The load
    // button is enabled by their vector support.
    void SetActions(std::unique_ptr<ILutEditorActions> actions);
    // New LUTs of the geometry, option 0 selected. False leaves the editor without a LUT.
    bool InitLut(bool isColor, int16_t bits, int16_t taps);

    CLutModel& Model() { return model_; }
    CLutView* View() const { return view_; }

  private:
    void OnOptionsChanged();
    void OnCoordinatesShown();
    void OnFieldEdited();
    void OnOptionChosen(int index);
    // Shows the model's selection: the combo, the option text, the note, the curve.
    void ShowSelection();
    void RunAction(void (ILutEditorActions::*action)());

    CLutModel model_;
    std::unique_ptr<ILutEditorActions> actions_;
    QRadioButton* color_;
    QRadioButton* mono_;
    QLabel* bits_;
    QComboBox* option_;
    QLineEdit* input_;
    QLineEdit* output_;
    CLutView* view_;
    QPushButton* loadVectors_;
    QLabel* optionText_;
    QLabel* note_;
};

}  // namespace velterra
