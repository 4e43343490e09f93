#include "RecentFiles.h"

#include <algorithm>

namespace velterra {

void AddRecentFile(std::vector<std::string>& files, const std::string& path) {
    files.erase(std::remove_if(files.begin(), files.end(),
                               [&path](const std::string& f) { return f.empty() || f == path; }),
                files.end());
    if (!path.empty()) files.insert(files.begin(), path);
    if (files.size() > kRecentFileCount) files.resize(kRecentFileCount);
}

}  // namespace velterra
