// "&Save VLT File As..." and "&Load VLT File..." around their file dialogs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "FormatText.h"
#include "InputFile.h"
#include "SettingsFile.h"
#include "SettingsFileArchive.h"
#include "SettingsTexts.h"
#include "UpdateHints.h"
#include "VelterraDoc.h"

namespace velterra {

namespace {

void ShowBox(CVelterraDoc& doc, const std::string& text) {
    if (IUserInterface* ui = doc.UserInterface()) ui->ShowMessage(text, MessageKind::Plain);
}

// The document title the framework gives a file: its name without the folders.
std::string TitleOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes bytes to a new file beside path and renames it over path, so that an existing file is
// either replaced whole or left as it was.
bool ReplaceFile(const std::string& path, const std::string& bytes) {
    static unsigned counter = 0;
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return false;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes);
    if (ok && exists) ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

}  // namespace

void SettingsFile::BeginSaveAs(CVelterraDoc& doc) {
    doc.UpdateAllViews(UpdateHint::kFinishEditing);
}

bool SettingsFile::SaveFile(CVelterraDoc& doc, const std::string& path) {
    std::ostringstream bytes(std::ios::binary);
    SettingsFileArchive archive(bytes);
    Store(doc, archive);
    if (!archive.WriteOk() || !ReplaceFile(path, bytes.str())) {
        ShowBox(doc, FormatText(SettingsText::kCannotWrite, path.c_str()));
        return false;
    }
    doc.SetModifiedFlag(false);
    doc.SetTitle(TitleOf(path));
    return true;
}

void SettingsFile::BeginLoad(CVelterraDoc& doc) {
    doc.UpdateAllViews(UpdateHint::kFinishEditing);
    if (doc.IsModified()) doc.SetModifiedFlag(false);
    doc.OnNewDocument();
}

bool SettingsFile::OpenForReading(CVelterraDoc& doc, const std::string& path, std::ifstream& in) {
    const std::string problem = platform::InputFileProblem(path, platform::kSettingsFileLimitMb);
    if (problem.empty()) in.open(path, std::ios::binary);
    if (in.is_open()) return true;
    std::string text = FormatText(SettingsText::kCannotOpen, path.c_str());
    if (!problem.empty()) text += "\n" + problem;
    ShowBox(doc, text);
    return false;
}

SettingsFile::LoadReport SettingsFile::LoadFile(CVelterraDoc& doc, const std::string& path) {
    std::ifstream in;
    if (!OpenForReading(doc, path, in)) {
        LoadReport report;
        report.outcome = LoadReport::Outcome::kCannotOpen;
        return report;
    }
    SettingsFileArchive archive(in);
    LoadReport report = Load(doc, archive, TitleOf(path));
    // The framework names the document after the file whatever the load did with its content.
    doc.SetModifiedFlag(false);
    doc.SetTitle(TitleOf(path));
    return report;
}

}  // namespace velterra
