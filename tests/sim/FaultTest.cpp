// Faults, the busy period and malformed frames, seen from the host's side of the line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <thread>

#include "FrameCodec.h"
#include "SimHarness.h"

namespace velterra::sim::test {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr uint8_t kAlive = 0x8F;
constexpr uint8_t kFrnCoef = 0xB8;
constexpr uint8_t kOffset = 0x16;  // black offset, 1 byte, 0 .. 255

bool Alive() {
    uint8_t zero = 0;
    return tvr_CommandPort(kRs232, kPort, kAlive, 1, &zero) != 0;
}

// What the camera made of the last well-formed frame.
std::string LastOutcome(const SimulatedCamera& camera) {
    const auto records = camera.Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (it->kind == FrameRecord::Kind::kFrame) return it->outcome;
    }
    return {};
}

TEST(Faults, NakAndGarbageFailTheExchangeAndChangeNothing) {
    {
        SimulatorOptions options = SampleOptions();
        options.nakRate = 1.0;
        SimHarness sim(options);
        ASSERT_TRUE(sim.Open());
        EXPECT_FALSE(sim.Write(kOffset, {9}));
        EXPECT_EQ(sim.camera.NumberValue(kOffset), 0u);
        EXPECT_EQ(LastOutcome(sim.camera), "NAK (fault)");
    }
    {
        SimulatorOptions options = SampleOptions("LS-4096M12", 1);
        options.garbageRate = 1.0;
        SimHarness sim(options);
        ASSERT_TRUE(sim.Open());
        EXPECT_FALSE(sim.Read(kOffset, 1).has_value());
        const auto records = sim.camera.Records();
        ASSERT_FALSE(records.empty());
        EXPECT_EQ(records.back().outcome, "garbage (fault)");
        EXPECT_NE(records.back().answer.front(), velterra::codec::kAck);
    }
}

TEST(Faults, DroppedFrameIsNotAnswered) {
    SimulatorOptions options = SampleOptions();
    options.dropRate = 1.0;
    SimHarness sim(options);
    ASSERT_TRUE(sim.Open());
    EXPECT_FALSE(Alive());
    EXPECT_EQ(LastOutcome(sim.camera), "no answer (fault)");
    EXPECT_TRUE(sim.camera.Records().back().answer.empty());
}

TEST(Faults, LateAnswerArrivesLate) {
    SimulatorOptions options = SampleOptions();
    options.delayMs = 700;
    SimHarness sim(options);
    ASSERT_TRUE(sim.Open());
    const auto start = Clock::now();
    EXPECT_TRUE(Alive());
    // The host's 100 ms settle runs alongside the delay; 100 ms more after the acknowledge.
    EXPECT_GE(Clock::now() - start, milliseconds(800));
}

TEST(Faults, UnplugClosesTheLineAfterNFrames) {
    SimulatorOptions options = SampleOptions();
    options.unplugAfter = 2;
    SimHarness sim(options);
    ASSERT_TRUE(sim.Open());
    EXPECT_TRUE(Alive());
    EXPECT_TRUE(Alive());
    ASSERT_TRUE(sim.camera.WaitUnplugged(milliseconds(2000)));
    EXPECT_FALSE(std::filesystem::exists(sim.camera.SlavePath()));
    EXPECT_FALSE(Alive());
    // A new open fails too: the device is gone.
    tvr_ClosePort(kRs232, kPort);
    EXPECT_FALSE(sim.Open());
}

TEST(BusyPeriod, FlatFieldCommandSilencesTheCameraForAWhile) {
    SimulatorOptions options = SampleOptions();
    options.busyMs = 1500;
    SimHarness sim(options);
    ASSERT_TRUE(sim.Open());
    uint8_t one = 1;
    ASSERT_EQ(tvr_CommandPort(kRs232, kPort, kFrnCoef, 1, &one), 1);
    EXPECT_TRUE(sim.camera.Busy());
    EXPECT_FALSE(Alive());  // waits out the 3 s acknowledge limit
    EXPECT_EQ(LastOutcome(sim.camera), "no answer (busy)");
    EXPECT_FALSE(sim.camera.Busy());
    EXPECT_TRUE(Alive());
}

// Writes raw bytes to the camera and reads its one-byte answer.
uint8_t RawAnswer(std::vector<uint8_t> bytes) {
    if (tvr_ReadWritePortDirect(kRs232, kPort, 1, static_cast<int32_t>(bytes.size()),
                                bytes.data()) == 0) {
        return 0;
    }
    uint8_t answer = 0;
    if (tvr_ReadWritePortDirect(kRs232, kPort, 0, 1, &answer) == 0) return 0;
    return answer;
}

TEST(MalformedFrames, AreRefusedAndBytesBetweenFramesSkipped) {
    constexpr uint8_t kAck = velterra::codec::kAck;
    constexpr uint8_t kNak = velterra::codec::kNak;
    {
        SimulatorOptions options = SampleOptions();
        options.frameTimeoutMs = 300;
        SimHarness sim(options);
        ASSERT_TRUE(sim.Open());
        EXPECT_EQ(RawAnswer({0x02, kOffset, 0x01, 0x05, 0x00, 0x03}), kNak);  // bad checksum
        EXPECT_EQ(RawAnswer({0x02, kOffset, 0x01, 0x05, 0x12, 0x04}), kNak);  // bad ETX
        EXPECT_EQ(RawAnswer({0x02, kOffset, 0x01, 0x05}), kNak);              // cut short
        // Noise before a good frame is skipped.
        EXPECT_EQ(RawAnswer({0xFF, 0x00, 0x03, 0x02, kOffset, 0x01, 0x05, 0x12, 0x03}), kAck);
        EXPECT_EQ(sim.camera.NumberValue(kOffset), 5u);
        EXPECT_TRUE(Alive());

        int malformed = 0;
        std::size_t skipped = 0;  // bytes: they may arrive, and be skipped, one read at a time
        for (const auto& record : sim.camera.Records()) {
            malformed += record.kind == FrameRecord::Kind::kMalformed;
            if (record.kind == FrameRecord::Kind::kSkipped) skipped += record.bytes.size();
        }
        EXPECT_EQ(malformed, 3);
        EXPECT_EQ(skipped, 3u);
    }
    {
        // MB frames: a bad checksum is refused, and the camera goes on.
        SimHarness sim(SampleOptions("LS-4096M12", 1));
        ASSERT_TRUE(sim.Open());
        EXPECT_EQ(RawAnswer({0x02, kOffset, 0x00, 0x01, 0x07, 0x00, 0x03}), kNak);
        EXPECT_EQ(RawAnswer({0x02, kOffset, 0x00, 0x01, 0x07, 0x10, 0x03}), kAck);
        EXPECT_EQ(sim.camera.NumberValue(kOffset), 7u);
    }
}

}  // namespace
}  // namespace velterra::sim::test

namespace velterra::sim::test {
namespace {

// A host killed with the port open never clears the exclusive flag; the camera does, so an
// ordinary user can open the port again.
TEST(PortRelease, ExclusiveFlagOfADeadHostIsCleared) {
    SimHarness sim(SampleOptions());
    const std::string path = sim.camera.SlavePath();
    auto exclusive = [&] {
        const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) return errno == EBUSY ? 1 : -1;  // the flag at work, for users but root
        int flag = -1;
        if (fd >= 0) ioctl(fd, TIOCGEXCL, &flag);
        if (fd >= 0) close(fd);
        return flag;
    };
    {
        // Holding the port: locked and exclusive, and left alone.
        ASSERT_TRUE(sim.Open());
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
        EXPECT_EQ(exclusive(), 1);
        tvr_ClosePort(kRs232, kPort);
        EXPECT_EQ(exclusive(), 0);
    }
    // A host that dies: lock and flag taken, the descriptor closed without clearing the flag.
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(ioctl(fd, TIOCEXCL), 0);
    // The camera sees the close and may clear the flag at once: look only after its record.
    close(fd);
    EXPECT_TRUE(sim.camera.WaitForRecord(
        [](const FrameRecord& r) { return r.outcome.find("exclusive flag") != std::string::npos; },
        std::chrono::seconds(3)));
    EXPECT_EQ(exclusive(), 0);
}

}  // namespace
}  // namespace velterra::sim::test
