#include "VelterraApp.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "PortRegistry.h"
#include "VelterraDoc.h"

namespace velterra {

CVelterraApp::CVelterraApp() = default;

CVelterraApp::~CVelterraApp() {
    ExitInstance();
}

bool CVelterraApp::InitInstance(const StartOptions& options, std::string* failure) {
    if (!options.startupDirectory.empty() && chdir(options.startupDirectory.c_str()) != 0) {
        if (failure != nullptr) {
            *failure =
                "cannot use directory " + options.startupDirectory + ": " + std::strerror(errno);
        }
        return false;
    }
    // The directory now current, as a full path: a relative --dir named it from where the
    // program started, which it no longer is.
    std::error_code error;
    StartupDirectory = std::filesystem::current_path(error).string();
    if (error) {
        if (failure != nullptr) *failure = "cannot read the current directory: " + error.message();
        return false;
    }

    const std::string name =
        options.registryName.empty() ? PortRegistry::BlockName() : options.registryName;
    registryFailure_.clear();
    registry_ = PortRegistry::Open(name, &registryFailure_);
    // The tags are written at every start, also into a block another copy made; the owner
    // fields stay as they are.
    if (registry_) registry_->WriteTags();

    doc_ = std::make_unique<CVelterraDoc>(StartupDirectory);
    doc_->SetPortRegistry(registry_.get());
    doc_->OnNewDocument();
    return true;
}

bool CVelterraApp::WatchTerminationSignals(std::function<void(int)> handler) {
    return signals_.Start(std::move(handler));
}

void CVelterraApp::ExitInstance() {
    signals_.Stop();
    // The document closes this process's ports through the registry, so it goes first.
    doc_.reset();
    registry_.reset();
}

}  // namespace velterra
