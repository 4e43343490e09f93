#pragma once
#include <string_view>
#include <vector>

#include "core/ParameterList.h"

namespace velterra {

// The parameter list's search field: which lines of `list` stay visible for a typed text. An
// item line stays when its name or value contains the text (letters in any case); a group line
// stays when its own name does, with all its lines, or when any of its lines stays. An empty
// text keeps every line. The list is expected to be built with every block expanded, so that a
// match under a collapsed group is found; the blocks' Expanded flags are never changed.
std::vector<int> FilterParameterLines(const ParameterList& list, std::string_view text);

}  // namespace velterra
