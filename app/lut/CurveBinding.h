#pragma once
#include <cstdint>

#include "lut/LutModelTypes.h"

namespace velterra {

// The option storage the curve editor works on. The LUT model owns it; the editor only points
// at one option's parts, and does nothing while any of them is missing.
struct CurveBinding {
    LutNode* nodes = nullptr;  // room for kLutMaxNodes
    int32_t* nodeCount = nullptr;
    uint16_t* curve = nullptr;  // LutEntryCount(*bits) entries
    uint8_t* changed = nullptr;
    const int16_t* bits = nullptr;

    bool IsComplete() const {
        return nodes != nullptr && nodeCount != nullptr && curve != nullptr && changed != nullptr &&
               bits != nullptr;
    }
};

}  // namespace velterra
