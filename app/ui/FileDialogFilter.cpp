#include "FileDialogFilter.h"

namespace velterra {

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : text) {
        if (c == separator) {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::vector<std::string> FileDialogFilters(const std::string& filter) {
    std::vector<std::string> result;
    const std::vector<std::string> parts = Split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        const std::string& name = parts[i];
        if (name.empty()) break;  // the "||" that ends the list
        std::vector<std::string> patterns;
        for (const std::string& raw : Split(parts[i + 1], ';')) {
            std::string pattern = Trimmed(raw);
            if (pattern == "*.*") pattern = "*";
            if (!pattern.empty()) patterns.push_back(std::move(pattern));
        }
        if (patterns.empty()) patterns.push_back("*");
        // The name's own bracket shows the patterns in the old notation; the toolkit reads the
        // patterns from the last bracket, so it is written anew.
        const auto bracket = name.rfind(" (");
        std::string entry = name.substr(0, bracket) + " (";
        for (std::size_t p = 0; p < patterns.size(); ++p) {
            if (p > 0) entry.push_back(' ');
            entry.append(patterns[p]);
        }
        entry.push_back(')');
        result.push_back(std::move(entry));
    }
    return result;
}

}  // namespace velterra
