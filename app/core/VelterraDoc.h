#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "DocumentObserver.h"
#include "ExchangeRun.h"
#include "ModelFile.h"
#include "PortSlot.h"
#include "ProtocolApi.h"
#include "TableLock.h"
#include "UserInterface.h"

namespace velterra {

class CGetLEDThread;
class PortRegistry;

// The document: the loaded camera model (its facts and command table are the CameraModel
// members, read directly by the views and the camera functions), and the camera connection
// (the port slot in use, parameter reads and writes, the alive probe). Views register as
// observers and are told about changes by hint number; the rest of the user interface is
// reached through IUserInterface.
class CVelterraDoc : public CameraModel {
  public:
    // The start-up directory holds CAM_VL.ini and Command.ini; empty means the current
    // directory at construction, as the program records it at start.
    explicit CVelterraDoc(std::string startupDirectory = {});
    ~CVelterraDoc();
    CVelterraDoc(const CVelterraDoc&) = delete;
    CVelterraDoc& operator=(const CVelterraDoc&) = delete;

    std::string CommandFilePath;  // full path of the model command file
    std::string ModelName;
    // Line for the connection error log; hint 3 hands a copy of it to the views.
    std::string MessageText;
    bool ConfigLoaded = false;  // a table loaded by LoadCommandTable is present
    std::string StartupDirectory;

    // Looks the model up in CAM_VL.ini; sets CommandFilePath to its command file, or to the
    // model table's own path when the model is not found.
    bool FindCommandFile(const std::string& modelName);
    // Loads a model command file into an empty table; a present table is kept and gives true.
    // The reason of a failure goes to *failure when given (the program itself shows none).
    bool LoadCommandTable(const std::string& path, std::string* failure = nullptr);
    void FreeCommandTable();
    // What every change of model does (connecting a camera of another model or on the other
    // transport, a settings file loaded without a camera, the console's access to a camera):
    // ModelName and its command file from CAM_VL.ini, the menus emptied, the table freed, the
    // new model's table loaded and the menus filled from its database. A model CAM_VL.ini does
    // not list leaves CommandFilePath at the model table, whose load fails. The menus of a
    // table that did not load stay empty unless kFillAnyway. True when the table loaded; the
    // reason it did not goes to *failure when given.
    enum class MenusOfFailedTable { kEmpty, kFillAnyway };
    bool SwitchModel(const std::string& modelName,
                     MenusOfFailedTable menus = MenusOfFailedTable::kEmpty,
                     std::string* failure = nullptr);
    void ToggleBlock(unsigned block);
    static bool ParseBranchEntry(std::string_view value, std::string& modelName,
                                 std::string& fileName);

    // Path of a file in the start-up directory.
    std::string StartupFilePath(std::string_view fileName) const;

    // Camera connection. The flags and port numbers are read by the LED polling thread too.
    std::atomic<int32_t> PortIndex{-1};  // slot 0-9 in use, -1 none
    // Port type of the port in use (0 Camera Link serial, 1 RS-232), set from its slot's tag
    // whenever the port in use changes; calls for other slots never touch it.
    std::atomic<int32_t> PortType{0};
    std::atomic<int32_t> CameraKernel{0};
    int32_t BaudRate = 9600;
    std::atomic<bool> NotResponding{false};
    std::atomic<bool> Busy{false};
    std::atomic<bool> RefreshRequested{false};
    std::atomic<bool> ProbeRunning{false};
    std::atomic<bool> FfcRunning{false};  // the flat-field wizard polls the camera itself
    std::atomic<bool> ProbeCommandCached{false};
    std::atomic<uint8_t> ProbeCommandId{0};
    std::string NoPortText;  // port-type field text while no port is open
    // No port scan has been chosen yet in this process; "List searched ports" needs one.
    bool FirstScan = true;
    // Held around every single protocol call made for the document, never across two.
    std::mutex PortLock;
    // Guards ProbeRunning and NotResponding during a probe; never held with PortLock.
    std::mutex ProbeLock;
    // Guards the command table (its blocks and the commands' value texts) between the LED
    // thread's refresh and the window's thread: held for one parameter's exchange at a time,
    // and by whoever changes the table or copies value texts out of it. Taken before PortLock,
    // never after it, and never across a dialog or an event loop.
    mutable velterra::TableLock TableLock;

    // Stops a run of exchanges after failures in a row, and every exchange on a stop request.
    ExchangeRunRule ExchangeRuns;

    static constexpr int kPollTimerPeriodMs = 750;
    static constexpr int kValueReadSettleMs = 20;  // before and after a value read

    // Reads (write false) or writes one parameter of the table: 1 success, 0 failure or
    // nothing done. A write needs a text; failures go to the connection log (hint 3).
    int ReadWriteParameter(int block, int row, bool write, const std::string* text = nullptr);
    int ReadParameter(int block, int row) { return ReadWriteParameter(block, row, false); }
    int WriteParameter(int block, int row, const std::string& text) {
        return ReadWriteParameter(block, row, true, &text);
    }
    void RefreshAll();
    void ProbeCamera(bool repaint);
    void StartPollTimer();
    void StartConnection();
    void ClosePortSlot(int slot);
    void SetPortTypeFromTag(std::string_view tag);
    // SetPortTypeFromTag with the registry tag of the slot.
    void SetPortTypeFromSlot(int slot);
    // The port type a slot's calls use: the one its registry tag names, or the slot's own
    // transport without a registry or with a tag that names neither.
    int32_t PortTypeOf(int slot) const;

    // One protocol call for a port slot: `call(protocol, portType, portNumber)` with the
    // slot's port type and library port number, under the port lock held for this call alone.
    // Gives what the call gives.
    template <class Call>
    auto CallPort(int slot, Call&& call) {
        const int32_t type = PortTypeOf(slot);
        const int32_t port = PortSlot::PortNumber(slot);
        std::lock_guard lock(PortLock);
        return call(protocol_, type, port);
    }
    void OnOpenCamera();  // "&Open Camera..."
    // Closes every port this process owns in the registry and frees the slots (at the end).
    void ReleaseOwnPorts();
    // The same from another thread while exchanges may be under way (a signal, the window
    // closing): no new exchange starts, the one under way is waited for up to `waitMs`, then
    // each own port is closed with the normal steps. A port still busy after the wait only
    // has its slot freed. Returns the number of ports closed.
    int ReleaseOwnPortsNow(int waitMs);

    // The LED polling thread (GetLEDThread.h): none until StartLedThread, and none when it
    // could not start. StartLedThread starts it once (later calls keep the running one) and is
    // false when the system cannot start a thread; StopLedThread ends it and waits for it,
    // which the application does at shutdown and the destructor does in any case.
    CGetLEDThread* LedThread() const { return ledThread_.get(); }
    bool StartLedThread();
    void StopLedThread();

    // Puts a line into the connection error log: MessageText, then hint 3 to every view.
    void LogMessage(std::string text);

    // Name of the port in use ("COM2", "clser-3"), empty without one.
    std::string PortName() const;

    // The document's modified flag and title, as the framework keeps them.
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) { modified_ = modified; }
    const std::string& GetTitle() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    // Re-initialises the document as a new one: title "Untitled", not modified. The command
    // table and the connection are kept.
    void OnNewDocument();

    // Collaborators. The protocol is the real library unless a test sets another; the user
    // interface and the registry may be absent.
    void SetProtocol(ProtocolApi protocol) { protocol_ = std::move(protocol); }
    const ProtocolApi& Protocol() const { return protocol_; }
    void SetUserInterface(IUserInterface* ui) { ui_ = ui; }
    IUserInterface* UserInterface() const { return ui_; }
    void SetPortRegistry(PortRegistry* registry) { registry_ = registry; }
    PortRegistry* Registry() const { return registry_; }

    void AddObserver(IDocumentObserver* observer);
    void RemoveObserver(IDocumentObserver* observer);
    void UpdateAllViews(int hint, const BlockArray* blocks = nullptr);

  private:
    int ReadWriteList(BlockInfo& block, RowInfo& row, bool write, const std::string* text,
                      const std::string& portName);
    int WriteValue(BlockInfo& block, RowInfo& row, const std::string& text,
                   const std::string& portName);
    int ReadValue(BlockInfo& block, RowInfo& row, const std::string& portName);
    enum class ExchangeResult { kDone, kFailed, kSkipped };
    // One protocol read or write of the command's CharLength bytes, under the port lock;
    // skipped (nothing sent, nothing to log) once the run has stopped.
    ExchangeResult Exchange(const CommandInfo& command, bool write, uint8_t* buffer,
                            int settleMs = 0);
    void NotifyObservers(int hint, const BlockArray* blocks, const std::string& message);
    void NotifyProgress(int done, int total);
    // Logs a failed exchange's line, and the run's stop when this failure caused it.
    void LogExchangeFailure(std::string text);
    bool silentToTell_ = false;
    void ShowMessage(const std::string& text);
    void ConnectModel(const std::string& modelName);
    void ForgetConnection();

    std::vector<IDocumentObserver*> observers_;
    ProtocolApi protocol_;
    IUserInterface* ui_ = nullptr;
    PortRegistry* registry_ = nullptr;
    bool modified_ = false;
    std::string title_;
    std::mutex messageLock_;  // MessageText, which the LED thread's refresh writes too
    // Counts the tables freed, so a refresh on the LED thread stops at a change of model.
    std::atomic<unsigned> tableGeneration_{0};
    std::unique_ptr<CGetLEDThread> ledThread_;
};

}  // namespace velterra
