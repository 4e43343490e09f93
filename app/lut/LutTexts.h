#pragma once

// Fixed texts of the LUT subsystem (workbooks, editor), spelled exactly as users see them.
namespace LutTexts {
}  // namespace LutTexts
