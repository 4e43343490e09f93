// A scripted camera on a pseudo-terminal, for tests and benchmarks of anything that talks to a
// camera through the RS-232 transport.
//
// The fake holds the master side of a fresh pseudo-terminal (raw mode); the code under test
// opens the slave side like any serial device. A background thread records every byte that
// arrives and answers in one of two ways:
//
//  * Script: a queue of steps. Each step waits for its trigger (N more bytes, or one complete
//    short or MB request frame), consumes those bytes, optionally pauses, then sends its answer
//    (ACK, NAK, nothing, a full, partial or broken reply: any bytes you like). Steps run in order.
//
//      velterra::test::FakeCamera camera;
//      camera.AttachAsCom(3);                 // COM3, i.e. RSC_OpenPort(2, ...) opens it
//      camera.Script({Step::AfterShortFrame().Ack().Send(ShortReply(0x21, {1, 2, 3, 4})),
//                     Step::AfterShortFrame().After(std::chrono::milliseconds(500)).Nak()});
//      ... RSC_OpenPort(2, 9600, 0); RSC_ReadWritePort(2, 0, 0x21, 4, buffer); ...
//      EXPECT_EQ(camera.Received(), (Bytes{0x02, 0x21, 0x84, 0xA5, 0x03, ...}));
//
//  * Responder: a function that gets the bytes received and not yet consumed and returns how
//    many it consumed plus what to answer (and after what pause). It is called whenever bytes
//    arrive, and again after every answer, until it consumes nothing. Use it for protocol-aware
//    fakes (e.g. table transfers) and for an instantly answering camera. When both are set, the
//    script runs first and the responder takes over once the script is empty.
//
//      camera.Respond([](std::span<const uint8_t> in) -> Response {
//          size_t size = ShortRequestSizeIn(in);     // 0 until a whole frame is there
//          if (size == 0) return {};
//          return {size, {velterra::codec::kAck}};
//      });
//
// Bytes sent with no one reading wait in the terminal's input queue. The fake keeps its own
// handle on the slave side open, so the line never hangs up while the code under test closes
// and reopens the port. Received(), WaitForReceived() and ScriptDone() are safe from the test
// thread. Every test process is separate under ctest, but COM mappings set with AttachAsCom()
// are process environment: point each COM number you use at your own fake.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace velterra::test {

using Bytes = std::vector<uint8_t>;

struct Step {
    enum class Trigger { kBytes, kShortFrame, kMbFrame };
    Trigger trigger = Trigger::kBytes;
    size_t count = 0;  // kBytes: how many bytes to wait for; 0 answers at once
    std::chrono::milliseconds delay{0};
    Bytes answer;

    static Step AfterBytes(size_t count);
    static Step AfterShortFrame();  // one complete short request (5 or n+5 bytes)
    static Step AfterMbFrame();     // one complete MB request (n+6 bytes)
    static Step Now();              // no trigger: runs as soon as the previous step is done

    Step& After(std::chrono::milliseconds pause);  // pause before answering
    Step& Send(const Bytes& bytes);                // appends to the answer
    Step& Ack();
    Step& Nak();
};

struct Response {
    size_t consumed = 0;  // bytes of the input taken; 0 with no answer means "need more"
    Bytes answer;
    std::chrono::milliseconds delay{0};
};
using Responder = std::function<Response(std::span<const uint8_t> pending)>;

// Size of the complete short (or MB) request at the start of `bytes`, 0 while incomplete.
size_t ShortRequestSizeIn(std::span<const uint8_t> bytes);
size_t MbRequestSizeIn(std::span<const uint8_t> bytes);

// Replies as a camera sends them (see transport/codec/FrameCodec.h).
Bytes ShortReply(uint8_t commandId, const Bytes& data);
Bytes MbReply(uint8_t commandId, const Bytes& data);

// Points COM<comNumber> (port index comNumber-1) at a device path, or removes the mapping.
void PointComAt(int comNumber, const std::string& path);
void ForgetCom(int comNumber);

class FakeCamera {
  public:
    FakeCamera();  // aborts the test program if no pseudo-terminal can be made
    ~FakeCamera();
    FakeCamera(const FakeCamera&) = delete;
    FakeCamera& operator=(const FakeCamera&) = delete;

    const std::string& Path() const { return path_; }
    void AttachAsCom(int comNumber) const { PointComAt(comNumber, path_); }

    void Script(const std::vector<Step>& steps);  // appends to the queue
    void Respond(Responder responder);
    void Send(const Bytes& bytes);  // sends now, from the calling thread

    Bytes Received() const;  // every byte received so far
    size_t ReceivedCount() const;
    void ClearReceived();
    bool WaitForReceived(size_t count, std::chrono::milliseconds timeout) const;
    bool ScriptDone() const;
    bool WaitScriptDone(std::chrono::milliseconds timeout) const;

  private:
    void Run();
    bool Answer();  // runs one step or responder call; false when nothing was ready
    bool Pause(std::chrono::milliseconds pause);
    void Write(const Bytes& bytes);

    int master_ = -1;
    int slave_ = -1;
    std::string path_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::mutex writeMutex_;
    bool stop_ = false;
    Bytes received_;
    Bytes pending_;  // received, not yet consumed by a step or the responder
    std::deque<Step> steps_;
    bool busy_ = false;  // a step is being answered
    Responder responder_;
    std::thread thread_;
};

}  // namespace velterra::test
