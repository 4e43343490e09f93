// Short-frame exchanges against an instantly answering fake camera: the median time of a write
// and of a read, against the protocol's own floor (the two fixed 100 ms sleeps plus the bytes'
// time on the wire at the baud rate; 10 bit times per byte for 8N1).
//   bench_exchange [exchanges per kind, default 20] [baud rate, default 9600]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "FakeCamera.h"
#include "FrameCodec.h"
#include "velterradll.h"

using namespace velterra::test;
namespace codec = velterra::codec;

namespace {

constexpr int32_t kRs232 = TVR_PORT_RS232;
constexpr int32_t kIndex = 0;
constexpr uint8_t kLength = 4;
constexpr double kFixedSleepsMs = 200.0;

Response AnswerAtOnce(std::span<const uint8_t> pending) {
    const size_t size = ShortRequestSizeIn(pending);
    if (size == 0) return {};
    Bytes answer{codec::kAck};
    if (pending[2] & codec::kReadFlag) {
        const Bytes reply = ShortReply(pending[1], Bytes(pending[2] & 0x7F, 0x5A));
        answer.insert(answer.end(), reply.begin(), reply.end());
    }
    return {size, answer};
}

double MedianMs(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

template <class Exchange>
std::vector<double> Run(int count, Exchange exchange) {
    std::vector<double> samples;
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!exchange()) {
            std::fprintf(stderr, "bench_exchange: exchange %d failed\n", i);
            std::exit(1);
        }
        samples.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    return samples;
}

void Report(const char* what, size_t wireBytes, uint32_t baud, const std::vector<double>& ms) {
    const double wireMs = wireBytes * 10.0 * 1000.0 / baud;
    const double floorMs = kFixedSleepsMs + wireMs;
    const double median = MedianMs(ms);
    std::printf(
        "%-6s n=%zu  median %.1f ms  floor %.1f ms (sleeps %.0f + wire %.1f for %zu bytes)"
        "  ratio %.3f  (vs sleeps alone %.3f)  min %.1f  max %.1f\n",
        what, ms.size(), median, floorMs, kFixedSleepsMs, wireMs, wireBytes, median / floorMs,
        median / kFixedSleepsMs, *std::min_element(ms.begin(), ms.end()),
        *std::max_element(ms.begin(), ms.end()));
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const uint32_t baud =
        argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 9600;

    FakeCamera camera;
    camera.AttachAsCom(kIndex + 1);
    camera.Respond(AnswerAtOnce);
    if (!tvr_OpenPort2(kRs232, kIndex, baud)) {
        std::fprintf(stderr, "bench_exchange: cannot open the fake camera at %u baud\n", baud);
        return 1;
    }
    uint8_t data[kLength] = {1, 2, 3, 4};
    const auto writes =
        Run(count, [&] { return tvr_ReadWritePort(kRs232, kIndex, 1, 0x10, kLength, data) == 1; });
    const auto reads =
        Run(count, [&] { return tvr_ReadWritePort(kRs232, kIndex, 0, 0x21, kLength, data) == 1; });
    tvr_ClosePort(kRs232, kIndex);

    std::printf("short-frame exchanges, %u baud, %u data bytes, instantly answering camera\n", baud,
                kLength);
    // Write: request n+5 and the ACK. Read: request 5, the ACK and the n+5 reply.
    Report("write", kLength + 5 + 1, baud, writes);
    Report("read", 5 + 1 + kLength + 5, baud, reads);
    return 0;
}
