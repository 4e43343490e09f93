#include "ParameterFilter.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace velterra {

namespace {

bool ContainsNoCase(const std::string& haystack, std::string_view needle) {
    auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != haystack.end();
}

}  // namespace

std::vector<int> FilterParameterLines(const ParameterList& list, std::string_view text) {
    std::vector<int> visible;
    const int count = list.RowCount();
    for (int line = 0; line < count;) {
        const bool group = list.RowAt(line)->IsGroup();
        const bool groupMatches =
            group && ContainsNoCase(list.CellText(line, ParameterList::kNameColumn), text);
        const int groupLine = group ? line : -1;
        if (group) ++line;
        std::vector<int> items;
        for (; line < count && !list.RowAt(line)->IsGroup(); ++line) {
            if (groupMatches ||
                ContainsNoCase(list.CellText(line, ParameterList::kNameColumn), text) ||
                ContainsNoCase(list.CellText(line, ParameterList::kValueColumn), text)) {
                items.push_back(line);
            }
        }
        if (groupLine >= 0 && (groupMatches || !items.empty())) visible.push_back(groupLine);
        visible.insert(visible.end(), items.begin(), items.end());
    }
    return visible;
}

}  // namespace velterra
