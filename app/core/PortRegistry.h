#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace velterra {

// The port-usage registry every running copy of the program shares: 80 bytes of POSIX shared
// memory, ten 8-byte slot records. Each record holds the owner (little-endian 32-bit: 0 free,
// 0xFFFFFFFF failed, else the process id holding the port) and a NUL-terminated transport tag
// ("CLS" for slots 0-5, "RSC" for slots 6-9). Several processes read and write it without a
// lock: a copy writes only the owner fields of slots that are free, failed or its own, and it
// writes them by compare-and-swap, so what another copy wrote after it looked is never lost.
class PortRegistry {
  public:
    static constexpr std::size_t kSize = 80;
    static constexpr std::size_t kRecordSize = 8;
    static constexpr uint32_t kFree = 0;
    static constexpr uint32_t kFailed = 0xFFFFFFFF;
    static constexpr const char* kCameraLinkTag = "CLS";
    static constexpr const char* kRs232Tag = "RSC";
    static constexpr const char* kDefaultName = "/5c1e7d20-3b4a-4f19-9e62-7a0d8c4b2f61";
    static constexpr const char* kNameVariable = "VELTERRA_REGISTRY";

    // The block's name: VELTERRA_REGISTRY when set (a leading '/' is added when missing),
    // otherwise the program's own name.
    static std::string BlockName();

    // Creates the named block (zero-filled) or opens the existing one, and maps it. The block is
    // never unlinked by the program: it outlives every copy, as shared memory does on POSIX.
    // nullptr when it cannot be created or mapped; the reason goes to *failure when given.
    static std::unique_ptr<PortRegistry> Open(const std::string& name,
                                              std::string* failure = nullptr);
    // A registry in this process's own memory, for tests.
    static std::unique_ptr<PortRegistry> Private();
    // Removes a named block (tests clean up after themselves this way).
    static void Unlink(const std::string& name);

    ~PortRegistry();
    PortRegistry(const PortRegistry&) = delete;
    PortRegistry& operator=(const PortRegistry&) = delete;

    // Writes the ten transport tags; the owner fields are left as they are.
    void WriteTags();

    std::string Tag(int slot) const;  // up to the NUL, at most 4 characters; "" outside 0..9
    uint32_t Owner(int slot) const;   // as stored; kFree outside 0..9
    void SetOwner(int slot, uint32_t owner);  // ignored outside 0..9
    // Writes the owner only while the slot still holds `expected`; false (and the slot left as
    // it is) when another copy wrote it since, or outside 0..9.
    bool ReplaceOwner(int slot, uint32_t expected, uint32_t owner);
    // Writes the owner unless another running copy holds the slot; false then.
    bool SetOwnerUnlessTaken(int slot, uint32_t owner);

    // This process's id as stored in an owner field.
    static uint32_t SelfId();

    // The owner as this copy must treat it. An owner process that no longer exists counts as
    // free: shared memory outlives its processes, so a copy that was killed leaves its id.
    enum class OwnerState { Free, Failed, Self, Other };
    OwnerState StateOf(int slot) const { return StateOfOwner(Owner(slot)); }
    static OwnerState StateOfOwner(uint32_t owner);
    bool OwnedByOther(int slot) const { return StateOf(slot) == OwnerState::Other; }

    static bool ProcessExists(uint32_t processId);

  private:
    PortRegistry(uint8_t* view, bool shared);
    uint8_t* Record(int slot) const;

    uint8_t* view_ = nullptr;
    bool shared_ = false;  // mapped shared memory (else our own buffer)
};

}  // namespace velterra
