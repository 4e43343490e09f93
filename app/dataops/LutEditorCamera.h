#pragma once

#include "core/VelterraDoc.h"
#include "dataops/LutTransfer.h"
#include "lut/LutEditorActions.h"
#include "lut/LutModel.h"

namespace velterra {

// The LUT editor's buttons that reach the camera or a file, over the editor's model and the
// per-tap LUT transfers. Option 0 is the all-taps option (the only one of a single tap); option
// k is tap k, sent as tap index k - 1. Vector nodes travel only to and from cameras of kernel
// type 1. Camera failures are logged by the transfers themselves.
class LutEditorCamera : public ILutEditorActions {
  public:
    LutEditorCamera(CVelterraDoc& doc, CLutModel& model) : doc_(doc), model_(model) {}

    bool HasVectorSupport() const override { return doc_.CameraKernel == 1; }

    // The selected option's curve (and nodes): to its own tap, or to every tap from the
    // all-taps option.
    void WriteOptionToCamera() override;
    // Every tap's own option (option 0 for a single tap) to that tap.
    void WriteEachTapToCamera() override;
    // Every tap's nodes from the camera into its option, whose curve is rebuilt from them. A
    // failing tap is told and the others still read; the selection ends where it was.
    void LoadVectorsFromCamera() override;
    // The taps' options (never the all-taps one of several taps) as a LUT workbook, under a
    // name the user chooses.
    bool SaveLutToFile() override;

  private:
    // The option that holds tap `tap` (0-based).
    int OptionOfTap(int tap) const { return model_.Taps() == 1 ? 0 : tap + 1; }
    void WriteOption(int option, int tap);
    IUserInterface* Ui() const { return doc_.UserInterface(); }

    CVelterraDoc& doc_;
    CLutModel& model_;
};

}  // namespace velterra
