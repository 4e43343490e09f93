// The shared port registry: layout, tags, and two real processes sharing one block.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <functional>

#include "EngineTestSupport.h"
#include "connect/PortConnector.h"

using namespace velterra;

namespace enginetest {
namespace {

// A block name of this test alone, removed at the end.
class UniqueBlock {
  public:
    UniqueBlock() {
        static std::atomic<int> counter{0};
        name =
            "/velterra-registry-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        PortRegistry::Unlink(name);
    }
    ~UniqueBlock() { PortRegistry::Unlink(name); }
    std::string name;
};

// One byte through a pipe, to step two processes in turn.
class Signal {
  public:
    Signal() {
        if (pipe(fds_) != 0) std::abort();
    }
    ~Signal() {
        close(fds_[0]);
        close(fds_[1]);
    }
    void Give() { (void)!write(fds_[1], "x", 1); }
    bool Take() {
        char c;
        return read(fds_[0], &c, 1) == 1;
    }

  private:
    int fds_[2];
};

// Runs body in a child process; its result is the child's exit status.
pid_t Child(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    return pid;
}

int ExitStatus(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(PortRegistry, NewBlockIsZeroAndTagsAreWrittenWithoutTouchingOwners) {
    UniqueBlock block;
    std::string failure;
    auto first = PortRegistry::Open(block.name, &failure);
    ASSERT_NE(first, nullptr) << failure;
    for (int slot = 0; slot < 10; ++slot) {
        EXPECT_EQ(first->Owner(slot), 0u);
        EXPECT_EQ(first->Tag(slot), "");
    }
    first->SetOwner(7, 0x01020304);
    auto second = PortRegistry::Open(block.name);
    ASSERT_NE(second, nullptr);
    second->WriteTags();
    EXPECT_EQ(first->Owner(7), 0x01020304u);
    EXPECT_EQ(first->Tag(0), "CLS");
    EXPECT_EQ(first->Tag(5), "CLS");
    EXPECT_EQ(first->Tag(6), "RSC");
    EXPECT_EQ(first->Tag(9), "RSC");

    // The bytes as every copy sees them: owner little-endian, then the tag and its zero.
    const int fd = shm_open(block.name.c_str(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    auto* bytes = static_cast<const uint8_t*>(mmap(nullptr, 80, PROT_READ, MAP_SHARED, fd, 0));
    close(fd);
    ASSERT_NE(bytes, MAP_FAILED);
    EXPECT_EQ(Bytes(bytes + 56, bytes + 64), (Bytes{4, 3, 2, 1, 'R', 'S', 'C', 0}));
    EXPECT_EQ(Bytes(bytes, bytes + 8), (Bytes{0, 0, 0, 0, 'C', 'L', 'S', 0}));
    munmap(const_cast<uint8_t*>(bytes), 80);
}

TEST(PortRegistry, TheBlockNameComesFromTheEnvironmentWhenSet) {
    const char* saved = std::getenv(PortRegistry::kNameVariable);
    const std::string keep = saved ? saved : "";
    setenv(PortRegistry::kNameVariable, "my-registry", 1);
    EXPECT_EQ(PortRegistry::BlockName(), "/my-registry");
    setenv(PortRegistry::kNameVariable, "/other", 1);
    EXPECT_EQ(PortRegistry::BlockName(), "/other");
    unsetenv(PortRegistry::kNameVariable);
    EXPECT_EQ(PortRegistry::BlockName(), "/5c1e7d20-3b4a-4f19-9e62-7a0d8c4b2f61");
    if (saved) setenv(PortRegistry::kNameVariable, keep.c_str(), 1);
}

// A document of its own process on a scripted camera that answers as model Alpha.
struct Copy {
    explicit Copy(const std::string& blockName, const std::string& config)
        : registry(PortRegistry::Open(blockName)), doc(config), connector(doc, table) {
        registry->WriteTags();
        doc.SetPortRegistry(registry.get());
        doc.SetProtocol(camera.Api());
        Bytes reply = TextBytes("ALPHA-1");
        reply.resize(16, 0);
        camera.values[0x90] = reply;
    }
    ScriptedCamera camera;
    std::unique_ptr<PortRegistry> registry;
    CVelterraDoc doc;
    ProbeTable table;
    PortConnector connector;
};

TEST(PortRegistry, TwoCopiesLeaveEachOthersSlotsAloneAndFreeOnlyTheirOwn) {
    UniqueBlock block;
    ScratchConfig config;
    Copy parent(block.name, config.Path());
    ASSERT_EQ(parent.connector.ConnectSlot(2), ProbeStatus::kConnected);

    Signal childReady;
    Signal childMayEnd;
    const pid_t child = Child([&] {
        Copy copy(block.name, config.Path());
        if (copy.registry->OwnedByOther(2) == false) return 10;  // the parent holds slot 2
        if (copy.connector.ConnectSlot(2) == ProbeStatus::kConnected) return 11;
        if (!copy.camera.Calls().empty()) return 12;  // and it was not even opened
        if (copy.connector.ConnectSlot(7) != ProbeStatus::kConnected) return 13;
        childReady.Give();
        childMayEnd.Take();
        return 0;  // the document's end closes slot 7 and frees it
    });
    ASSERT_TRUE(childReady.Take());
    EXPECT_EQ(parent.registry->Owner(7), static_cast<uint32_t>(child));
    EXPECT_TRUE(parent.registry->OwnedByOther(7));
    parent.camera.ClearCalls();
    EXPECT_NE(parent.connector.ConnectSlot(7), ProbeStatus::kConnected);
    EXPECT_TRUE(parent.camera.Calls().empty());

    childMayEnd.Give();
    EXPECT_EQ(ExitStatus(child), 0);
    EXPECT_EQ(parent.registry->Owner(7), PortRegistry::kFree);
    EXPECT_EQ(parent.registry->Owner(2), PortRegistry::SelfId());

    parent.doc.ReleaseOwnPorts();
    EXPECT_EQ(parent.registry->Owner(2), PortRegistry::kFree);
    const auto closes = parent.camera.CallsOf(Call::Kind::Close);
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(closes[0].type, 0);
    EXPECT_EQ(closes[0].index, 2);
}

// Two copies claiming the same free slots at the same moment: each slot ends with exactly one
// of them, and each copy knows whether it won.
TEST(PortRegistry, TwoCopiesClaimingTogetherNeverBothWin) {
    UniqueBlock block;
    auto parent = PortRegistry::Open(block.name);
    ASSERT_NE(parent, nullptr);
    constexpr int kRounds = 200;
    Signal go;
    Signal childDone;
    int resultPipe[2];
    ASSERT_EQ(pipe(resultPipe), 0);
    const pid_t child = Child([&] {
        auto copy = PortRegistry::Open(block.name);
        if (copy == nullptr) return 10;
        for (int round = 0; round < kRounds; ++round) {
            if (!go.Take()) return 11;
            for (int slot = 0; slot < 10; ++slot) {
                const char won = copy->SetOwnerUnlessTaken(slot, PortRegistry::SelfId()) ? 1 : 0;
                if (write(resultPipe[1], &won, 1) != 1) return 12;
            }
            childDone.Give();
        }
        return 0;
    });
    for (int round = 0; round < kRounds; ++round) {
        for (int slot = 0; slot < 10; ++slot) parent->SetOwner(slot, PortRegistry::kFree);
        go.Give();
        bool parentWon[10];
        for (int slot = 9; slot >= 0; --slot) {  // the child goes the other way: they meet
            parentWon[slot] = parent->SetOwnerUnlessTaken(slot, PortRegistry::SelfId());
        }
        ASSERT_TRUE(childDone.Take());
        for (int slot = 0; slot < 10; ++slot) {
            char childWon = 0;
            ASSERT_EQ(read(resultPipe[0], &childWon, 1), 1);
            ASSERT_NE(parentWon[slot], childWon != 0) << "round " << round << " slot " << slot;
            EXPECT_EQ(parent->Owner(slot),
                      parentWon[slot] ? PortRegistry::SelfId() : static_cast<uint32_t>(child));
        }
    }
    EXPECT_EQ(ExitStatus(child), 0);
    close(resultPipe[0]);
    close(resultPipe[1]);
}

TEST(PortRegistry, AKilledOwnerCountsAsFree) {
    UniqueBlock block;
    ScratchConfig config;
    Signal childReady;
    const pid_t child = Child([&] {
        Copy copy(block.name, config.Path());
        if (copy.connector.ConnectSlot(8) != ProbeStatus::kConnected) return 1;
        childReady.Give();
        pause();  // until killed
        return 0;
    });
    ASSERT_TRUE(childReady.Take());
    Copy parent(block.name, config.Path());
    EXPECT_EQ(parent.registry->StateOf(8), PortRegistry::OwnerState::Other);
    kill(child, SIGKILL);
    EXPECT_EQ(ExitStatus(child), 128 + SIGKILL);

    // The dead copy's id stays in the slot, but the slot is free to take.
    EXPECT_EQ(parent.registry->Owner(8), static_cast<uint32_t>(child));
    EXPECT_EQ(parent.registry->StateOf(8), PortRegistry::OwnerState::Free);
    EXPECT_EQ(parent.connector.ConnectSlot(8), ProbeStatus::kConnected);
    EXPECT_EQ(parent.registry->Owner(8), PortRegistry::SelfId());
}

TEST(PortRegistry, OwnerStatesAndIdsThatNameNoProcess) {
    auto registry = PortRegistry::Private();
    registry->SetOwner(0, PortRegistry::kFailed);
    registry->SetOwner(1, PortRegistry::SelfId());
    registry->SetOwner(2, 0x7FFFFFF0);  // beyond any pid
    registry->SetOwner(3, 0x80000001);  // must never reach kill() as a negative pid
    EXPECT_EQ(registry->StateOf(0), PortRegistry::OwnerState::Failed);
    EXPECT_EQ(registry->StateOf(1), PortRegistry::OwnerState::Self);
    EXPECT_EQ(registry->StateOf(2), PortRegistry::OwnerState::Free);
    EXPECT_EQ(registry->StateOf(3), PortRegistry::OwnerState::Free);
    EXPECT_EQ(registry->StateOf(4), PortRegistry::OwnerState::Free);
    // Slots outside 0..9 are neither read nor written.
    registry->SetOwner(10, 5);
    registry->SetOwner(-1, 5);
    EXPECT_EQ(registry->Owner(10), 0u);
    EXPECT_EQ(registry->Tag(-1), "");
}

}  // namespace
}  // namespace enginetest
