#pragma once
#include <string>
#include <vector>

namespace velterra {

// The core describes a file dialog's choices as "Name (*.a;*.b)|*.a;*.b|All (*.*)|*.*||". A
// window toolkit wants one entry per choice with the patterns apart by blanks: "Name (*.a *.b)",
// "All (*)". Names keep their text; "*.*" means every file.
std::vector<std::string> FileDialogFilters(const std::string& filter);

}  // namespace velterra
