#pragma once
#include <cstdint>
#include <string>

#include "CameraKernelRule.h"
#include "ProbeTable.h"

namespace velterra {

class CVelterraDoc;
class IUserInterface;

// Opening a port slot, the alive check and model identification, as the Open Camera dialog and
// the console tool run them. Every protocol call is made under the document's port lock; the
// port type comes from the slot's registry tag through the document; messages go to the
// document's user interface.
class PortConnector {
  public:
    static constexpr int kProbeAttempts = 2;
    static constexpr uint32_t kProbeRetryPauseMs = 100;
    static constexpr int kMaxModelTextLength = 127;  // a short-frame read carries 127 bytes

    // What the last successful or failed identification found.
    struct Identification {
        std::string ModelText;        // as the camera sent it
        std::string ModelName;        // from CAM_VL.ini, empty when not found
        std::string CommandFileName;  // as written in CAM_VL.ini
    };

    explicit PortConnector(CVelterraDoc& doc, ProbeTable& table = ProcessProbeTable());

    uint32_t BaudRate = 9600;  // for opening ports
    // The kernel an identified camera's port is used with; Auto follows the model text.
    KernelChoice Kernel = KernelChoice::Auto;

    // Alive check on an open port: two attempts, 100 ms apart. No message.
    bool ProbeSlot(int slot);
    // Reads the model text of the camera on an open port and looks it up in CAM_VL.ini; on
    // success the slot's remote device name is the model name. Failures show a message.
    bool IdentifySlot(int slot);
    // Opens the port, marks the slot in the registry (failed, or owned by this process),
    // identifies the camera and returns the slot's new probe status. The model text is read over
    // short frames; a camera of kernel 1 has its port opened again with that kernel, which the
    // slot's probe entry records. A failed identification leaves the port open and owned,
    // unless closeOnFailedIdentification (the forced one-port mode) closes it again. A slot
    // another live process owns is not touched, also when it claims the slot during the open.
    uint8_t ConnectSlot(int slot, bool closeOnFailedIdentification = false);

    // Where the identification messages go instead of the document's user interface (a dialog
    // that runs the connect off its own thread puts a relay there); null: the document's.
    void SetUserInterface(IUserInterface* ui) { ui_ = ui; }
    IUserInterface* UserInterface() const;

    const Identification& LastIdentification() const { return identification_; }
    // The last ConnectSlot could not open its port.
    bool LastOpenFailed() const { return lastOpenFailed_; }
    // The last ConnectSlot opened the port but another copy had claimed the slot meanwhile; the
    // port was closed again and the slot left to that copy.
    bool LastClaimLost() const { return lastClaimLost_; }
    ProbeTable& Table() { return table_; }

  private:
    bool UseIdentifiedKernel(int slot);
    void ClosePort(int slot);

    CVelterraDoc& doc_;
    ProbeTable& table_;
    IUserInterface* ui_ = nullptr;
    Identification identification_;
    bool lastOpenFailed_ = false;
    bool lastClaimLost_ = false;
};

}  // namespace velterra
