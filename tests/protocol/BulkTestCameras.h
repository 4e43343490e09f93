// Camera behaviour for the table-transfer tests: responders for the scripted fake camera that
// keep table memory and answer the table procedures the way a camera does, instantly.
//
//   MbTableCamera     an MB (kernel 1) camera: chunked table writes and reads, status reads,
//                     vector data.
//   ShortFrameCamera  a short-frame (kernel 0) camera: the table handshake (header frame, 0x40,
//                     ACK, raw block) for the table command ids it is given, the legacy
//                     8160-pixel half-block commands, and plain reads and writes.
//
// Every request is recorded; Override() replaces the answer to chosen requests (NAK, a wrong
// status, a short or long reply, silence) to exercise failures.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "FakeCamera.h"
#include "velterradll.h"

namespace velterra::test {

struct SeenFrame {
    uint8_t commandId = 0;
    bool read = false;
    size_t length = 0;  // the frame's length field (for a short read: the count asked for)
    Bytes data;         // the data bytes the frame carried
};

// Returns the bytes to answer instead of the normal answer, or nothing to answer normally.
using AnswerOverride = std::function<std::optional<Bytes>(size_t frameIndex, const SeenFrame&)>;

Bytes LittleEndian(const std::vector<uint16_t>& values);
uint16_t Le16At(const Bytes& bytes, size_t offset);
// What a camera sends to accept an MB read: ACK, then the reply frame.
Bytes AckAndMbReply(uint8_t commandId, const Bytes& data);

class MbTableCamera {
  public:
    static constexpr size_t kTableSize = 65536;

    Responder AsResponder();
    void Override(AnswerOverride hook);
    void SetVectorReply(const Bytes& data);  // reply data of every vector-data read
    void SetStatus(uint8_t status);          // what every status read answers

    std::vector<SeenFrame> Frames() const;
    std::vector<uint16_t> Table(uint8_t tableId) const;
    void FillTable(uint8_t tableId, const std::vector<uint16_t>& values);

  private:
    Response Handle(std::span<const uint8_t> pending);
    Bytes NormalAnswer(const SeenFrame& frame);
    std::vector<uint16_t>& TableLocked(uint8_t tableId);

    mutable std::mutex mutex_;
    std::vector<SeenFrame> frames_;
    std::map<uint8_t, std::vector<uint16_t>> tables_;
    Bytes vectorReply_;
    uint8_t status_ = 0;
    AnswerOverride override_;
};

class ShortFrameCamera {
  public:
    static constexpr int kLegacyTaps = 4;
    static constexpr int kLegacyTapLength = 2040;
    using LegacyTable = std::array<std::array<uint16_t, kLegacyTapLength>, kLegacyTaps>;

    Responder AsResponder();
    void SetTableCommands(std::set<uint8_t> commandIds);  // ids that start a table handshake
    void Override(AnswerOverride hook);
    void SetHandshake(uint8_t byte);  // what the camera sends when ready (0x40 normally)
    void SetReadReply(uint8_t commandId, const Bytes& data);

    std::vector<SeenFrame> Frames() const;
    Bytes HostHandshakes() const;  // the bytes the host answered the ready byte with
    Bytes Stray() const;           // bytes that were neither a frame nor an expected raw byte
    std::vector<uint16_t> Table(uint8_t tableId) const;
    void FillTable(uint8_t tableId, const std::vector<uint16_t>& values);
    LegacyTable Legacy(int table) const;  // taps 0..3 (tap numbers 1..4 on the wire)
    void FillLegacy(int table, const LegacyTable& values);

  private:
    enum class State { kFrames, kAwaitAck, kAwaitBlock };
    Response Handle(std::span<const uint8_t> pending);
    Bytes NormalAnswer(const SeenFrame& frame);
    // The 60 values addressed by [table, tap, block, half]; null for an address out of range.
    uint16_t* LegacyHalfBlock(const uint8_t* address);

    mutable std::mutex mutex_;
    std::set<uint8_t> tableCommandIds_;
    std::vector<SeenFrame> frames_;
    Bytes hostHandshakes_;
    Bytes stray_;
    std::map<uint8_t, std::vector<uint16_t>> tables_;
    std::map<uint8_t, Bytes> readReplies_;
    std::array<LegacyTable, 2> legacy_{};
    std::array<uint8_t, 4> legacySelection_{};
    uint8_t handshake_ = 0x40;
    State state_ = State::kFrames;
    uint8_t transferDirection_ = 0;
    uint8_t transferTable_ = 0;
    size_t transferCount_ = 0;
    AnswerOverride override_;
};

// A fake camera on COM9 (port index 8) answered by the two camera models above; the port is
// opened at 19200 baud, the rate with the shortest polling intervals, and closed after the test.
class FakePortTest : public ::testing::Test {
  protected:
    static constexpr int kCom = 9;
    static constexpr int32_t kRs232 = TVR_PORT_RS232;
    static constexpr int32_t kPort = kCom - 1;
    static constexpr uint32_t kBaud = 19200;

    void OpenMb() { Open(1, mb_.AsResponder()); }
    void OpenShortFrame() { Open(0, short_.AsResponder()); }
    void TearDown() override {
        tvr_ClosePort(kRs232, kPort);
        ForgetCom(kCom);
    }

    // The cameras must outlive the fake, whose thread calls them.
    MbTableCamera mb_;
    ShortFrameCamera short_;
    FakeCamera fake_;

  private:
    void Open(uint8_t kernel, velterra::test::Responder responder) {
        fake_.Respond(std::move(responder));
        fake_.AttachAsCom(kCom);
        ASSERT_EQ(tvr_OpenPort3(kRs232, kPort, kBaud, kernel), 1);
    }
};

}  // namespace velterra::test
