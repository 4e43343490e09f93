#include "VelterraDoc.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "ConfigParsers.h"
#include "GetLEDThread.h"
#include "UpdateHints.h"

namespace velterra {

CVelterraDoc::CVelterraDoc(std::string startupDirectory)
    : StartupDirectory(std::move(startupDirectory)), protocol_(RealProtocol()) {
    if (StartupDirectory.empty()) {
        std::error_code error;
        StartupDirectory = std::filesystem::current_path(error).string();
    }
}

CVelterraDoc::~CVelterraDoc() {
    // The LED thread probes through this document: it ends before anything is released.
    StopLedThread();
    ReleaseOwnPorts();
    FreeCommandTable();
}

std::string CVelterraDoc::StartupFilePath(std::string_view fileName) const {
    return velterra::StartupFilePath(StartupDirectory, fileName);
}

bool CVelterraDoc::ParseBranchEntry(std::string_view value, std::string& modelName,
                                    std::string& fileName) {
    return velterra::ParseBranchEntry(value, modelName, fileName);
}

bool CVelterraDoc::FindCommandFile(const std::string& modelName) {
    return FindModelFile(StartupDirectory, modelName, CommandFilePath);
}

bool CVelterraDoc::LoadCommandTable(const std::string& path, std::string* failure) {
    {
        std::lock_guard table(TableLock);
        if (!Blocks.empty()) return true;
        if (!LoadModelFile(path, *this, failure)) return false;
    }
    {
        std::lock_guard lock(messageLock_);
        MessageText.clear();
    }
    UpdateAllViews(UpdateHint::kLogMessage);
    ConfigLoaded = true;
    return true;
}

void CVelterraDoc::FreeCommandTable() {
    std::lock_guard table(TableLock);
    ++tableGeneration_;
    ConfigLoaded = false;
    Blocks.clear();
    Blocks.shrink_to_fit();
    BlockCount = 0;
}

void CVelterraDoc::ToggleBlock(unsigned block) {
    // Callers pass a valid index; one past the table is ignored rather than touched.
    {
        std::lock_guard table(TableLock);
        if (Blocks.empty() || block >= Blocks.size()) return;
        Blocks[block].Expanded = !Blocks[block].Expanded;
    }
    UpdateAllViews(UpdateHint::kValuesChanged, &Blocks);
}

void CVelterraDoc::AddObserver(IDocumentObserver* observer) {
    if (observer != nullptr &&
        std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void CVelterraDoc::RemoveObserver(IDocumentObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void CVelterraDoc::UpdateAllViews(int hint, const BlockArray* blocks) {
    std::string message;
    if (hint == UpdateHint::kLogMessage) {
        std::lock_guard lock(messageLock_);
        message = MessageText;
    }
    NotifyObservers(hint, blocks, message);
}

void CVelterraDoc::NotifyProgress(int done, int total) {
    const std::vector<IDocumentObserver*> observers = observers_;
    for (IDocumentObserver* observer : observers) observer->OnRefreshProgress(done, total);
}

void CVelterraDoc::NotifyObservers(int hint, const BlockArray* blocks, const std::string& message) {
    // A copy, so an observer may unregister itself while being told.
    const std::vector<IDocumentObserver*> observers = observers_;
    for (IDocumentObserver* observer : observers) {
        observer->OnDocumentUpdate(hint, blocks, message);
    }
}

}  // namespace velterra
