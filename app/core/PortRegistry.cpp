#include "PortRegistry.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "PortSlot.h"

namespace velterra {

namespace {

uint32_t ToLittleEndian(uint32_t value) {
    if constexpr (std::endian::native == std::endian::big) {
        return ((value & 0xFFu) << 24) | ((value & 0xFF00u) << 8) | ((value >> 8) & 0xFF00u) |
               (value >> 24);
    }
    return value;
}

std::string ErrnoText(const char* what, const std::string& name) {
    return std::string(what) + " " + name + ": " + std::strerror(errno);
}

}  // namespace

std::string PortRegistry::BlockName() {
    const char* value = std::getenv(kNameVariable);
    if (value == nullptr || *value == '\0') return kDefaultName;
    std::string name = value;
    if (name.front() != '/') name.insert(name.begin(), '/');
    return name;
}

std::unique_ptr<PortRegistry> PortRegistry::Open(const std::string& name, std::string* failure) {
    auto fail = [failure](std::string reason) {
        if (failure != nullptr) *failure = std::move(reason);
        return nullptr;
    };
    // Private to this user, as a named mapping with default security is.
    const int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return fail(ErrnoText("cannot create or open the port registry", name));
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        const auto reason = ErrnoText("cannot inspect the port registry", name);
        close(fd);
        return fail(reason);
    }
    // A new block has size 0; growing it zero-fills. Two copies growing it at once both set 80,
    // which keeps whatever the first has written.
    if (info.st_size < static_cast<off_t>(kSize) && ftruncate(fd, kSize) != 0) {
        const auto reason = ErrnoText("cannot size the port registry", name);
        close(fd);
        return fail(reason);
    }
    void* view = mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);  // the mapping keeps the block
    if (view == MAP_FAILED) return fail(ErrnoText("cannot map the port registry", name));
    return std::unique_ptr<PortRegistry>(new PortRegistry(static_cast<uint8_t*>(view), true));
}

std::unique_ptr<PortRegistry> PortRegistry::Private() {
    auto* view = new uint8_t[kSize]();
    return std::unique_ptr<PortRegistry>(new PortRegistry(view, false));
}

void PortRegistry::Unlink(const std::string& name) {
    shm_unlink(name.c_str());
}

PortRegistry::PortRegistry(uint8_t* view, bool shared) : view_(view), shared_(shared) {}

// Asked afresh each time, so a forked child is itself.
uint32_t PortRegistry::SelfId() {
    return static_cast<uint32_t>(getpid());
}

PortRegistry::~PortRegistry() {
    if (shared_) {
        munmap(view_, kSize);
    } else {
        delete[] view_;
    }
}

uint8_t* PortRegistry::Record(int slot) const {
    return view_ + static_cast<std::size_t>(slot) * kRecordSize;
}

void PortRegistry::WriteTags() {
    for (int slot = 0; slot < PortSlot::kCount; ++slot) {
        const char* tag =
            PortSlot::TransportOf(slot) == PortSlot::kRs232 ? kRs232Tag : kCameraLinkTag;
        std::memcpy(Record(slot) + 4, tag, 4);  // three letters and the NUL
    }
}

std::string PortRegistry::Tag(int slot) const {
    if (!PortSlot::IsValid(slot)) return {};
    char tag[5] = {};
    std::memcpy(tag, Record(slot) + 4, 4);
    return std::string(tag);
}

// Owner fields are 4-byte aligned words that other processes write while we read: atomic access
// keeps every read whole.
uint32_t PortRegistry::Owner(int slot) const {
    if (!PortSlot::IsValid(slot)) return kFree;
    auto* word = reinterpret_cast<uint32_t*>(Record(slot));
    return ToLittleEndian(std::atomic_ref<uint32_t>(*word).load(std::memory_order_acquire));
}

void PortRegistry::SetOwner(int slot, uint32_t owner) {
    if (!PortSlot::IsValid(slot)) return;
    auto* word = reinterpret_cast<uint32_t*>(Record(slot));
    std::atomic_ref<uint32_t>(*word).store(ToLittleEndian(owner), std::memory_order_release);
}

bool PortRegistry::ReplaceOwner(int slot, uint32_t expected, uint32_t owner) {
    if (!PortSlot::IsValid(slot)) return false;
    auto* word = reinterpret_cast<uint32_t*>(Record(slot));
    uint32_t stored = ToLittleEndian(expected);
    return std::atomic_ref<uint32_t>(*word).compare_exchange_strong(
        stored, ToLittleEndian(owner), std::memory_order_acq_rel, std::memory_order_acquire);
}

bool PortRegistry::SetOwnerUnlessTaken(int slot, uint32_t owner) {
    if (!PortSlot::IsValid(slot)) return false;
    for (;;) {
        const uint32_t seen = Owner(slot);
        if (StateOfOwner(seen) == OwnerState::Other) return false;
        if (ReplaceOwner(slot, seen, owner)) return true;
    }
}

bool PortRegistry::ProcessExists(uint32_t processId) {
    // Ids beyond the positive pid range name no process; kill() must never see 0 or a
    // negative value, which would address process groups.
    if (processId == 0 || processId > static_cast<uint32_t>(INT_MAX)) return false;
    if (kill(static_cast<pid_t>(processId), 0) == 0) return true;
    return errno != ESRCH;  // EPERM: it exists but belongs to another user
}

PortRegistry::OwnerState PortRegistry::StateOfOwner(uint32_t owner) {
    if (owner == kFree) return OwnerState::Free;
    if (owner == kFailed) return OwnerState::Failed;
    if (owner == SelfId()) return OwnerState::Self;
    return ProcessExists(owner) ? OwnerState::Other : OwnerState::Free;
}

}  // namespace velterra
