#include "ClserTable.h"

#include <string>

#include "ClserIni.h"

namespace velterra::clserial {

void ClserTable::EnsureLoaded() {
    if (IsLoaded()) return;
    const std::filesystem::path iniPath = ClserIniPath();
    const std::vector<std::string> names = ReadClserLibraryNames(iniPath);
    if (names.empty()) return;

    std::vector<ClserLibrary> entries(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        ClserLibrary& entry = entries[i];
        entry.Load(names[i], iniPath.parent_path());
        // A library listed twice serves only its first entry.
        for (std::size_t earlier = 0; earlier < i && entry.HasModule(); ++earlier) {
            if (entries[earlier].Module() == entry.Module()) entry.Release();
        }
        entry.ResolveEntryPoints();
    }
    entries_ = std::move(entries);
}

ClserLibrary* ClserTable::Usable(std::size_t entry) {
    if (entry >= entries_.size() || !entries_[entry].HasModule()) return nullptr;
    return &entries_[entry];
}

void ClserTable::Clear() {
    // Later entries first, so libraries go in the reverse of the order they came.
    while (!entries_.empty()) entries_.pop_back();
}

}  // namespace velterra::clserial
