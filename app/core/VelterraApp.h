#pragma once
#include <functional>
#include <memory>
#include <string>

#include "TerminationSignals.h"

namespace velterra {

class CVelterraDoc;
class PortRegistry;

// The application object: what a copy of the program sets up before it serves the user, and
// what it releases at the end, in the same order for the window and the console tool.
//
// Start-up: the start-up directory, the shared port registry created or opened with its slot
// tags written, then the one document, as a new "Untitled" one. End: the document goes first
// (its LED thread stopped, the ports this process owns closed and their slots freed, the command
// table freed), then the registry is released.
class CVelterraApp {
  public:
    struct StartOptions {
        // Made the current directory first when given (the Camera Link library reads clser.ini
        // from there); empty: the current directory as it is.
        std::string startupDirectory;
        // Name of the shared registry block; empty: PortRegistry::BlockName().
        std::string registryName;
    };

    CVelterraApp();
    ~CVelterraApp();
    CVelterraApp(const CVelterraApp&) = delete;
    CVelterraApp& operator=(const CVelterraApp&) = delete;

    // The password has been given; the Password dialog and the console's --password set it.
    bool AccessGranted = false;
    // The folder of CAM_VL.ini, Command.ini and clser.ini.
    std::string StartupDirectory;

    // The start-up sequence. False only when the start-up directory cannot be used (the reason
    // goes to *failure); a registry that cannot be created or mapped is not a failure: the
    // program runs on without it and RegistryFailure() says why.
    bool InitInstance(const StartOptions& options, std::string* failure = nullptr);

    // The document (present from InitInstance to ExitInstance).
    CVelterraDoc& Doc() { return *doc_; }
    bool HasDocument() const { return doc_ != nullptr; }
    PortRegistry* Registry() const { return registry_.get(); }
    const std::string& RegistryFailure() const { return registryFailure_; }

    // SIGINT and SIGTERM go to the handler on a thread of its own (TerminationSignals); call it
    // before any other thread is started.
    bool WatchTerminationSignals(std::function<void(int)> handler);
    void StopWatchingSignals() { signals_.Stop(); }

    // The shutdown sequence; the signal watcher is stopped first so no handler runs on a
    // document being released. Safe to call more than once; the destructor calls it.
    void ExitInstance();

  private:
    std::unique_ptr<PortRegistry> registry_;
    std::unique_ptr<CVelterraDoc> doc_;
    std::string registryFailure_;
    TerminationSignals signals_;
};

}  // namespace velterra
