#pragma once

namespace velterra {

// What the LUT editor's camera and file buttons do. The editor only forwards the clicks; the
// camera side is built where the document and the transfers are known.
class ILutEditorActions {
  public:
    virtual ~ILutEditorActions() = default;

    // Vector nodes exist only on cameras that keep them; the load button needs them.
    virtual bool HasVectorSupport() const = 0;
    virtual void WriteOptionToCamera() = 0;
    virtual void WriteEachTapToCamera() = 0;
    virtual void LoadVectorsFromCamera() = 0;
    virtual bool SaveLutToFile() = 0;
};

}  // namespace velterra
