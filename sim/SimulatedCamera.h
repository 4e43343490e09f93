// A camera on a pseudo-terminal that answers by the protocol, built from a configuration
// folder. The program velterra-camsim serves one; tests run one in-process:
//
//     velterra::sim::SimulatorOptions options;
//     options.configDir = VELTERRA_CONFIG_DIR;
//     options.model = "LS-4096M12";
//     velterra::sim::SimulatedCamera camera(options);
//     ASSERT_TRUE(camera.Start(&error)) << error;
//     setenv("VELTERRA_COM1", camera.SlavePath().c_str(), 1);   // COM1 is port index 0
//     tvr_OpenPort2(1, 0, 9600);  ...
//     EXPECT_EQ(camera.Value(0xA6), ...);     // what the host wrote
//     camera.Stop();                          // or let the destructor do it
//
// Start() loads the model (CAM_VL.ini, the model command file, Command.ini), applies the
// values file, opens the pseudo-terminal and serves it on a thread of its own. Answers go out
// as soon as a frame is complete (plus --delay-ms), as a real camera's do.
//
// What the camera does:
// - the Model_Info_Command read answers the model's text from Model_Info_DB, NUL-padded to
//   CharLength (a kernel-1 camera takes this one short frame too, since the host reads the
//   model text before it knows the kernel, and prefers a 14-character text ending in "M");
// - the alive command (GetLEDState) is acknowledged;
// - every parameter of the model command file has a value of CharLength bytes: writes are
//   acknowledged and stored when the parameter is writable, the length is right, a number is
//   in range and a list value is one of its items, and refused with NAK otherwise; reads
//   answer the stored bytes (a short read answers exactly the bytes asked for);
// - every other section of Command.ini is a command that writes acknowledge; FrnCoef and
//   PrnuCoef start a busy period during which nothing is answered;
// - tables: LutRW (LUTs by table id, vector nodes in mode 1), FPNPRNUWrite/FPNPRNURead
//   (correction tables by kind: 0 FPN, 1 PRNU, 2 the read-only image), on kernel 0 as header +
//   0x40 handshake + raw block, on kernel 1 as chunks whose status WaitCmd reads (always 0
//   after an accepted chunk); one-pixel writes (5 bytes to OnePixelWrite: kind, pixel, value;
//   the pixel number is the entry index) and reads (answering for the last pixel written);
//   the BadPixelsPos block; the legacy 8160-pixel commands 0xC5-0xC9 (tables 0 and 1 are the
//   FPN and PRNU kinds, 0xC8 reads the image);
// - unknown command ids get NAK; malformed frames get NAK and are logged; bytes between
//   frames are skipped.
//
// Every accessor is safe from any thread while the camera serves. An idle camera sleeps until
// the host sends, a host closes the terminal or a time limit it set falls due; Stop() wakes it
// and returns at once whatever the camera is doing; the destructor stops it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "CameraConfig.h"
#include "CameraResponder.h"
#include "FaultInjector.h"
#include "FrameRecord.h"
#include "PseudoTerminal.h"
#include "SimulatorOptions.h"
#include "WakePipe.h"

namespace velterra::sim {

class SimulatedCamera {
  public:
    explicit SimulatedCamera(SimulatorOptions options);
    ~SimulatedCamera();
    SimulatedCamera(const SimulatedCamera&) = delete;
    SimulatedCamera& operator=(const SimulatedCamera&) = delete;

    // Loads the model, opens the pseudo-terminal and starts serving. False with the reason in
    // *error (unknown model, unreadable configuration or values file, bad option, no pty).
    bool Start(std::string* error = nullptr);
    // Stops serving and closes the pseudo-terminal. Safe to call more than once.
    void Stop();

    const SimulatorOptions& Options() const { return options_; }
    // Slave path of the pseudo-terminal (after Start).
    std::string SlavePath() const;
    // Problems that did not stop the start (values file entries, model text choice).
    std::vector<std::string> Warnings() const;
    // Loaded configuration (after a successful Start).
    const CameraConfig& Config() const { return *config_; }
    std::string ModelText() const;

    // Parameter values by command id, as the bytes the camera sends.
    std::optional<std::vector<uint8_t>> Value(uint8_t commandId) const;
    // The value of a number or list parameter.
    std::optional<uint32_t> NumberValue(uint8_t commandId) const;
    // Sets a value without the host's checks (out-of-range values included); false for an id
    // that is not a parameter of the model.
    bool SetValue(uint8_t commandId, std::span<const uint8_t> bytes);

    // Tables: LUTs by table id, correction tables by kind.
    std::vector<uint16_t> Table(TableFamily family, uint8_t id, int offset, int count) const;
    void SetTable(TableFamily family, uint8_t id, int offset, std::span<const uint16_t> entries);
    // Vector nodes of a LUT: the record count (16-bit little-endian), then 4 bytes per node.
    std::vector<uint8_t> Nodes(uint8_t tableId) const;
    std::vector<uint8_t> BadPixels() const;
    void SetBadPixels(std::span<const uint8_t> block);

    // What was received: every record (frames, malformed frames, skipped bytes, raw table
    // blocks, events), the well-formed frames alone, and the count of frames (well-formed or
    // malformed) since the start.
    std::vector<FrameRecord> Records() const;
    std::vector<Frame> ReceivedFrames() const;
    std::size_t FrameCount() const;
    bool WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;
    // Waits for a record (kept or yet to come) that `match` accepts. A raw table block that
    // the host writes has no answer the host waits for, so a test waits for its record:
    //     camera.WaitForRecord([](const FrameRecord& r) {
    //         return r.kind == FrameRecord::Kind::kRaw && r.outcome.find("stored") != npos; }, ...)
    bool WaitForRecord(const std::function<bool(const FrameRecord&)>& match,
                       std::chrono::milliseconds timeout) const;
    void ClearRecords();

    bool Busy() const;
    // The line was pulled (--unplug-after).
    bool Unplugged() const;
    bool WaitUnplugged(std::chrono::milliseconds timeout) const;
    // Called once on the serving thread when the line is pulled; set it before Start().
    void OnUnplugged(std::function<void()> handler) { onUnplugged_ = std::move(handler); }

  private:
    enum class Phase { kFrames, kAwaitHostAck, kReceiveBlock };

    enum class Step { kAgain, kWait, kUnplugged };

    void Run();
    // Handles everything the reader has ready; false once the line is pulled.
    bool Process(FrameReader& reader);
    // Kernel-0 table transfers after their header: the host's ACK, then the block.
    Step AwaitHostAck(FrameReader& reader, Clock::time_point now);
    Step ReceiveBlock(FrameReader& reader, Clock::time_point now);
    Step NextFrame(FrameReader& reader, Clock::time_point now);
    void Unplug();
    void HandleFrame(const Frame& frame);
    void HandleMalformed(ReaderEvent& event);
    // Sends the answer, after --delay-ms when `delayed`.
    void Answer(FrameRecord& record, bool delayed = true);
    // Stamps, logs and keeps a record; counts frames. Takes mutex_.
    void Record(FrameRecord record);
    void RecordEvent(std::string outcome);
    bool Pause(std::chrono::milliseconds pause);
    // How long the serving thread may sleep: until the nearest time limit, -1 for none.
    int WaitMs(const FrameReader& reader, Clock::time_point now,
               Clock::time_point nextPortCheck) const;

    SimulatorOptions options_;
    std::unique_ptr<CameraConfig> config_;
    std::unique_ptr<CameraResponder> responder_;
    std::unique_ptr<FaultInjector> faults_;
    PseudoTerminal pty_;
    std::ofstream log_;
    std::vector<std::string> warnings_;

    mutable std::mutex mutex_;  // responder state, records, counters
    mutable std::condition_variable changed_;
    std::deque<FrameRecord> records_;
    std::size_t frameCount_ = 0;
    bool busy_ = false;
    Clock::time_point busyUntil_{};
    bool unplugged_ = false;

    // Serving thread only.
    Phase phase_ = Phase::kFrames;
    RawTransfer raw_;
    std::vector<uint8_t> rawBytes_;
    Clock::time_point rawDeadline_{};

    std::function<void()> onUnplugged_;
    std::atomic<bool> stop_{false};
    WakePipe wake_;
    std::thread thread_;
};

}  // namespace velterra::sim
