#pragma once
#include <string>
#include <string_view>

#include "core/OnePixelRequest.h"

namespace velterra {

// The Pixel Set dialog without widgets: the FPN/PRNU choice and the "Set" button's storing of
// the two edits into the program's one-pixel request.
class PixelSetModel {
  public:
    static constexpr int kPixels = 8160;

    // Opening the dialog checks "FPN": the request's table kind becomes 0.
    explicit PixelSetModel(OnePixelRequest& request);

    void ChooseFpn() { request_.TableKind = 0; }
    void ChoosePrnu() { request_.TableKind = 1; }
    bool PrnuChosen() const { return request_.TableKind == 1; }

    // "Set": the pixel edit as a decimal number n (text that is no number reads as 0) is
    // stored as n + 1, the value edit as it reads. Returns the warning to show for n = -1 or
    // n >= 8160 (the entry is stored all the same), else an empty text.
    std::string StorePixelEntry(std::string_view pixelText, std::string_view valueText);

  private:
    OnePixelRequest& request_;
};

}  // namespace velterra
