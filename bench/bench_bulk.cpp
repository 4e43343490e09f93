// Bulk table transfers over the RS-232 transport against a camera that answers at once:
// a 4096-entry LUT written and read on an MB (kernel 1) camera, and a 4096-entry table written
// on a short-frame (kernel 0) camera. Prints the time of each and its ratio to the floor the
// transport itself sets: the polling sleeps every exchange must wait out, and the time the
// bytes need on a real line at the chosen rate. The pseudo-terminal delivers bytes at once, so
// the measured time is compared with the polling floor alone and with the floor of a real line.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <vector>

#include "FakeCamera.h"
#include "FrameCodec.h"
#include "velterradll.h"

using namespace velterra;

namespace {

using velterra::test::Bytes;
using velterra::test::FakeCamera;
using velterra::test::Response;

constexpr int kCom = 12;
constexpr int32_t kRs232 = TVR_PORT_RS232;
constexpr int32_t kPort = kCom - 1;
constexpr int kEntries = 4096;
constexpr int kChunk = 512;
constexpr uint8_t kTableCommand = 0x30;
constexpr uint8_t kStatusCommand = 0x31;

Bytes WithAck(const Bytes& reply) {
    Bytes answer(1 + reply.size(), velterra::codec::kAck);
    std::copy(reply.begin(), reply.end(), answer.begin() + 1);
    return answer;
}

// An MB camera that takes every chunk, reports status 0 and answers chunk reads with zeros.
Response AnswerMb(std::span<const uint8_t> in) {
    const size_t size = velterra::test::MbRequestSizeIn(in);
    if (size == 0) return {};
    const bool read = (in[2] & 0x80) != 0;
    if (!read) return {size, {velterra::codec::kAck}};
    const size_t length = size - 6;
    if (length == 0) return {size, WithAck(velterra::test::MbReply(in[1], {0}))};
    const size_t count = in[8] | (in[9] << 8);
    return {size, WithAck(velterra::test::MbReply(in[1], Bytes(2 * count)))};
}

// A short-frame camera: the table header is answered with ACK and the ready byte 0x40, then
// the host's ACK and the raw block are taken in.
struct ShortFrameTableCamera {
    std::mutex mutex;
    size_t expectRaw = 0;  // bytes still to take without framing

    Response Answer(std::span<const uint8_t> in) {
        std::lock_guard lock(mutex);
        if (expectRaw > 0) {
            const size_t take = std::min(expectRaw, in.size());
            expectRaw -= take;
            return {take, {}};
        }
        const size_t size = velterra::test::ShortRequestSizeIn(in);
        if (size == 0) return {};
        const size_t count = in[5] | (in[6] << 8);
        expectRaw = 1 + 2 * count;
        return {size, {velterra::codec::kAck, 0x40}};
    }
};

struct Rates {
    uint32_t baud;
    double replyPoll;  // seconds, by the transport's baud table
};

double WireSeconds(double bytes, uint32_t baud) {
    return bytes * 10.0 / baud;  // 8N1: ten bit times a byte
}

// An MB exchange: the request goes out, the ACK wait sleeps whole reply-poll intervals until
// the request and the ACK have crossed the line, then the reply crosses.
double MbExchangeFloor(size_t request, size_t reply, const Rates& r, bool onLine) {
    const double out = onLine ? WireSeconds(static_cast<double>(request + 1), r.baud) : 0.0;
    const double polls = std::max(1.0, std::ceil(out / r.replyPoll));
    return polls * r.replyPoll + (onLine ? WireSeconds(static_cast<double>(reply), r.baud) : 0.0);
}

double Kernel1WriteFloor(const Rates& r, bool onLine) {
    double floor = 0;
    for (int sent = 0; sent < kEntries; sent += kChunk) {
        floor += MbExchangeFloor(6 + 6 + 2 * kChunk, 0, r, onLine);
        floor += MbExchangeFloor(6, 7, r, onLine);  // status read
    }
    return floor;
}

double Kernel1ReadFloor(const Rates& r, bool onLine) {
    double floor = 0;
    for (int got = 0; got < kEntries; got += kChunk) {
        floor += MbExchangeFloor(6 + 6, 6 + 2 * kChunk, r, onLine);
    }
    return floor;
}

// The header frame's two fixed 100 ms sleeps, then the ready byte, the ACK and the block.
double Kernel0WriteFloor(const Rates& r, bool onLine) {
    const double wire = WireSeconds(9 + 1 + 1 + 1 + 2.0 * kEntries, r.baud);
    return 0.2 + (onLine ? wire : 0.0);
}

template <class Run>
double Seconds(Run&& run) {
    const auto start = std::chrono::steady_clock::now();
    const bool ok = run();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!ok) std::printf("  (transfer FAILED)\n");
    return seconds;
}

void Report(const char* what, double measured, double ptyFloor, double lineFloor) {
    std::printf("  %-34s %7.3f s   polling floor %7.3f s (x%.2f)   line floor %7.3f s (x%.2f)\n",
                what, measured, ptyFloor, measured / ptyFloor, lineFloor, measured / lineFloor);
}

bool BenchAt(const Rates& rates) {
    std::vector<uint16_t> lut(kEntries);
    for (int i = 0; i < kEntries; ++i) lut[i] = static_cast<uint16_t>(i * 16);
    std::printf("%u baud (reply poll %.0f ms):\n", rates.baud, rates.replyPoll * 1000);

    {
        FakeCamera camera;
        camera.AttachAsCom(kCom);
        camera.Respond(AnswerMb);
        if (tvr_OpenPort3(kRs232, kPort, rates.baud, 1) == 0) return false;
        const double write = Seconds([&] {
            return tvr_LUTMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 0, 0, 0,
                                     kEntries, lut.data()) != 0;
        });
        std::vector<uint16_t> back(kEntries);
        uint16_t entriesRead = 0;
        const double read = Seconds([&] {
            return tvr_LUTMassRead2(kRs232, kPort, kTableCommand, 0, 0, 0, 0, kEntries,
                                    &entriesRead, back.data()) != 0;
        });
        tvr_ClosePort(kRs232, kPort);
        Report("kernel 1 LUT write, 4096 entries", write, Kernel1WriteFloor(rates, false),
               Kernel1WriteFloor(rates, true));
        Report("kernel 1 LUT read, 4096 entries", read, Kernel1ReadFloor(rates, false),
               Kernel1ReadFloor(rates, true));
    }
    {
        FakeCamera camera;
        ShortFrameTableCamera model;
        camera.AttachAsCom(kCom);
        camera.Respond([&model](std::span<const uint8_t> in) { return model.Answer(in); });
        if (tvr_OpenPort3(kRs232, kPort, rates.baud, 0) == 0) return false;
        const double write = Seconds([&] {
            return tvr_LUTMassWrite(kRs232, kPort, kTableCommand, 0, kEntries, lut.data()) != 0;
        });
        tvr_ClosePort(kRs232, kPort);
        Report("kernel 0 table write, 4096 entries", write, Kernel0WriteFloor(rates, false),
               Kernel0WriteFloor(rates, true));
    }
    return true;
}

}  // namespace

int main() {
    std::printf(
        "Bulk transfers against an instantly answering fake camera on a pseudo-terminal\n"
        "(a pseudo-terminal does not pace bytes: the line floor is what a real line at\n"
        "that rate would add, so ratios below 1 against it are expected here)\n");
    bool ok = true;
    for (const Rates& rates : {Rates{9600, 0.170}, Rates{19200, 0.100}, Rates{115200, 0.200}}) {
        ok = BenchAt(rates) && ok;
    }
    return ok ? 0 : 1;
}
