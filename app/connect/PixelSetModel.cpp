#include "PixelSetModel.h"

#include "ConnectTexts.h"
#include "core/ConfigParsers.h"

namespace velterra {

PixelSetModel::PixelSetModel(OnePixelRequest& request) : request_(request) {
    ChooseFpn();
}

std::string PixelSetModel::StorePixelEntry(std::string_view pixelText, std::string_view valueText) {
    const int32_t pixel = AtolText(pixelText);
    request_.PixelNumber = static_cast<uint32_t>(pixel) + 1u;
    request_.Value = AtolText(valueText);
    if (pixel == -1 || pixel >= kPixels) return ConnectText::kCheckPixelNumber;
    return {};
}

}  // namespace velterra
