#include "ReplaceFile.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace velterra {

FileWriteResult ReplaceFileText(const std::string& path, std::string_view text) {
    std::string temporary = path + ".XXXXXX";
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) return FileWriteResult::OpenFailed;
    std::FILE* file = fdopen(descriptor, "w");
    if (file == nullptr) {
        close(descriptor);
        unlink(temporary.c_str());
        return FileWriteResult::OpenFailed;
    }
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fflush(file) == 0 && written;
    written = fsync(fileno(file)) == 0 && written;
    const bool closed = std::fclose(file) == 0;
    // mkstemp makes the file private; the new file keeps the old one's mode, or the usual one.
    struct stat previous {};
    const mode_t mode = stat(path.c_str(), &previous) == 0 ? (previous.st_mode & 07777) : 0644;
    if (written && closed) chmod(temporary.c_str(), mode);
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return FileWriteResult::CloseFailed;
    }
    return FileWriteResult::Done;
}

}  // namespace velterra
