#pragma once
#include <string>
#include <string_view>

namespace velterra {

enum class FileWriteResult { Done, OpenFailed, CloseFailed };

// Writes the text to a new file beside `path` and renames it over `path`, so a write that fails
// part way leaves the previous file as it was. OpenFailed: no file could be created there;
// CloseFailed: writing, flushing or the rename failed (the new file is removed).
FileWriteResult ReplaceFileText(const std::string& path, std::string_view text);

}  // namespace velterra
