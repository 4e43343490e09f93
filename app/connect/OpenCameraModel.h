#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "PortConnector.h"
#include "ProbeTable.h"
#include "core/PortRegistry.h"
#include "core/PortSlot.h"
#include "core/UserInterface.h"

namespace velterra {

class CVelterraDoc;
class SelectionMode;

// The Open Camera dialog's data: what it starts with and what the document reads at its end.
struct OpenCameraData {
    int32_t BaudRate = 9600;
    std::string ModelName;         // remote device name of the selected slot
    int32_t ConnectionClosed = 0;  // the document's port was closed while the dialog was open
    int32_t SelectedSlot = -1;
    int32_t Kernel = 0;
    bool SearchAll = true;
    bool ListOnly = false;
};

// One line of the port list: port name, registry status, probe status.
struct PortRow {
    std::string Port;
    std::string Status;
    std::string RemoteDevice;
    bool operator==(const PortRow&) const = default;
};

// Enabled states of the three port buttons.
struct PortButtons {
    bool Open = false;
    bool Close = false;
    bool Ok = false;
    bool operator==(const PortButtons&) const = default;
};

// The logic of the Open Camera dialog: it scans the port slots, probes the free ones, lists
// them with their registry and probe status, and opens, closes and accepts ports. The dialog's
// widgets show Rows(), Buttons(), SelectedRow() and CancelCaption() after each call and forward
// the user's actions; messages and the wait cursor go to the document's user interface.
class OpenCameraModel {
  public:
    // Control ids of the dialog resource.
    static constexpr int kPortListId = 1000;
    static constexpr int kSelectionModeId = 1005;
    static constexpr int kOpenPortId = 1006;
    static constexpr int kClosePortId = 1007;
    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;

    // How the dialog goes on after an action.
    enum class Outcome { Stay, Ok, Cancel };

    // Shows the Selection Mode dialog modally; true when it ended with OK (its AcceptSelection
    // said so).
    using SelectionRunner = std::function<bool(SelectionMode&)>;

    // What only the widgets can do.
    class Listener {
      public:
        virtual ~Listener() = default;
        // Each column as wide as the wider of its contents and its header.
        virtual void FitColumns() {}
        virtual void FocusList() {}
        // The port of this slot is about to be opened for the alive check or a connect, which
        // takes up to seconds; the dialog says which port it is at.
        virtual void Probing(int /*slot*/) {}
    };

    explicit OpenCameraModel(CVelterraDoc& doc, ProbeTable& table = ProcessProbeTable());

    void SetListener(Listener* listener) { listener_ = listener; }
    // Messages, the wait cursor and the Selection Mode dialog's messages go here instead of
    // the document's user interface; null: the document's.
    void SetUserInterface(IUserInterface* ui);

    // Dialog start: runs the Selection Mode dialog and then the scan, the list of the last scan
    // or the forced port it chose. A forced port that fails brings the Selection Mode dialog
    // back. Ok: the forced port is connected and the dialog ends; Cancel: the Selection Mode
    // dialog was cancelled and the dialog ends.
    Outcome Start(const SelectionRunner& runSelectionMode);
    // Dialog start with the forced port already chosen (the window's --port): connects the slot
    // at that baud rate as the forced mode does; when that fails, Start follows.
    Outcome StartForced(int slot, int32_t baudRate, const SelectionRunner& runSelectionMode);

    // Probes every slot not held by another process and lists the ones that opened.
    void ScanPorts();
    // Forced one-port mode: connects the slot alone and lists only it; every other usable slot
    // is marked failed. False for a slot outside 0..9 or when the connect fails.
    bool ConnectOnePort(int slot);
    // Lists every slot not marked failed, with what this process's last scan found.
    void ListSearchedPorts();
    void UpdatePortButtons(int slot);  // -1: no slot
    int SlotOfRow(int row) const;      // -1 when the row names no slot
    int RowOfSlot(int slot) const;     // -1 when the slot is not listed

    // User actions.
    void ClickRow(int row);  // -1: a click beside the rows
    void DoubleClickRow(int row);
    void KeyUp();
    void KeyDown();
    void OpenSelectedPort();
    void CloseSelectedPort();
    Outcome SelectionModeClicked(const SelectionRunner& runSelectionMode);
    Outcome Accept();  // "&OK"
    Outcome Cancel();  // "&Cancel" / "E&xit"

    // What the document receives when the dialog ends this way.
    OpenCameraResult Result(Outcome end) const;

    OpenCameraData& Data() { return data_; }
    const OpenCameraData& Data() const { return data_; }
    const std::vector<PortRow>& Rows() const { return rows_; }
    int SelectedRow() const { return selectedRow_; }
    const PortButtons& Buttons() const { return buttons_; }
    const char* CancelCaption() const { return cancelCaption_; }

    // Button states for a slot by its owner and probe status.
    PortButtons ButtonsFor(int slot) const;
    std::string RegistryStatusText(int slot) const;
    std::string ProbeStatusText(int slot) const;
    // "clser-N" gives N, "COMN" gives N + 5, anything else -1 (also numbers beyond 0..9).
    static int SlotOfPortName(std::string_view name);

  private:
    PortRegistry::OwnerState OwnerState(int slot) const;
    bool SetOwner(int slot, uint32_t owner);
    // Closes a port this process holds; losing the document's own port is remembered.
    void CloseOwnPort(int slot);
    bool OpenPort(int slot);
    void ClosePort(int slot);
    void AddRow(int slot);
    void RefreshRow(int slot);
    void ClearList();
    void SelectRow(int row);
    void MarkChanged();
    void FitColumns();
    void FocusList();
    void Probing(int slot);
    IUserInterface* UserInterface() const { return connector_.UserInterface(); }
    void TakeSelection(const SelectionMode& selection);
    // Forced mode from the selection; on success the slot becomes the dialog's result.
    bool ConnectForced(const SelectionMode& selection);
    bool ConnectForcedSlot(int slot);
    SelectionMode MakeSelectionMode(bool fromOpenCamera) const;

    CVelterraDoc& doc_;
    ProbeTable& table_;
    PortConnector connector_;
    Listener* listener_ = nullptr;
    OpenCameraData data_;
    std::vector<PortRow> rows_;
    int selectedRow_ = -1;
    PortButtons buttons_;
    const char* cancelCaption_;
    // Owners when the document has no registry, so a failed port still drops out of the list.
    std::array<uint32_t, PortSlot::kCount> localOwners_{};
};

}  // namespace velterra
