// A 14-bit, 4-tap LUT written to and read back from the simulated camera tap by tap, as the
// LUT editor and the workbook functions do it (one library call per tap), on MB frames
// (kernel 1). Each direction is compared with the floor bench_bulk prints for a bulk transfer:
// the transport's polling sleeps per exchange, and on a real line the bytes' time as well. A
// pseudo-terminal carries bytes at once, so the polling floor is the one to compare with.
//   bench_lut_camera [baud rate: 9600, 19200 (default) or 115200]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchCamera.h"
#include "dataops/LutTransfer.h"

using namespace velterra;

namespace {

constexpr const char* kModel = "LS-4096M12";
constexpr int kBits = 14;
constexpr int kTaps = 4;
constexpr int kEntries = 1 << kBits;
constexpr int kChunk = 512;  // entries per frame of the library's LUT transfer

struct Rates {
    uint32_t baud;
    double replyPoll;  // seconds, by the transport's baud table
};

double WireSeconds(double bytes, uint32_t baud) {
    return bytes * 10.0 / baud;
}

// The same exchange floor as bench_bulk: whole reply-poll intervals until the request and its
// ACK have crossed, then the reply.
double MbExchangeFloor(size_t request, size_t reply, const Rates& r, bool onLine) {
    const double out = onLine ? WireSeconds(static_cast<double>(request + 1), r.baud) : 0.0;
    const double polls = std::max(1.0, std::ceil(out / r.replyPoll));
    return polls * r.replyPoll + (onLine ? WireSeconds(static_cast<double>(reply), r.baud) : 0.0);
}

double WriteFloor(const Rates& r, bool onLine) {
    double floor = 0;
    for (int sent = 0; sent < kEntries; sent += kChunk) {
        floor += MbExchangeFloor(6 + 6 + 2 * kChunk, 0, r, onLine);
        floor += MbExchangeFloor(6, 7, r, onLine);  // status read
    }
    return kTaps * floor;
}

double ReadFloor(const Rates& r, bool onLine) {
    double floor = 0;
    for (int got = 0; got < kEntries; got += kChunk) {
        floor += MbExchangeFloor(6 + 6, 6 + 2 * kChunk, r, onLine);
    }
    return kTaps * floor;
}

template <class Run>
double Seconds(Run&& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const uint32_t baud =
        argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 19200;
    Rates rates{baud, 0.100};
    if (baud == 9600) rates.replyPoll = 0.170;
    if (baud == 115200) rates.replyPoll = 0.200;

    BenchCamera camera;
    if (!camera.Connect("bench_lut_camera", kModel, 1, baud)) return 1;
    CVelterraDoc& doc = camera.doc;

    std::vector<uint16_t> lut(static_cast<size_t>(kTaps) * kEntries);
    for (size_t i = 0; i < lut.size(); ++i) lut[i] = static_cast<uint16_t>((i * 7) % kEntries);
    std::vector<uint16_t> back(lut.size());
    LutTransfer transfer(doc);
    bool ok = true;
    const double write = Seconds([&] {
        for (int t = 0; t < kTaps; ++t) {
            ok = transfer.WriteLutTap(t, LutTransfer::kEveryScale, kEntries,
                                      lut.data() + static_cast<size_t>(t) * kEntries) &&
                 ok;
        }
    });
    const double read = Seconds([&] {
        for (int t = 0; t < kTaps; ++t) {
            ok = transfer.ReadLutTap(t, LutTransfer::kEveryScale, kEntries, nullptr,
                                     back.data() + static_cast<size_t>(t) * kEntries) &&
                 ok;
        }
    });
    const bool same = back == lut;

    std::printf(
        "14-bit 4-tap LUT over the simulated camera (kernel %d), %u baud, reply poll %.0f ms\n",
        static_cast<int>(doc.CameraKernel), baud, rates.replyPoll * 1000);
    const struct {
        const char* what;
        double seconds, polling, line;
    } rows[] = {
        {"write, 4 x 16384 entries", write, WriteFloor(rates, false), WriteFloor(rates, true)},
        {"read, 4 x 16384 entries", read, ReadFloor(rates, false), ReadFloor(rates, true)}};
    for (const auto& r : rows) {
        std::printf(
            "  %-26s %7.2f s   polling floor %7.2f s (x%.2f)   line floor %7.2f s (x%.2f)\n",
            r.what, r.seconds, r.polling, r.seconds / r.polling, r.line, r.seconds / r.line);
    }
    std::printf("  read back %s\n", same ? "equal to what was written" : "DIFFERENT");
    return ok && same ? 0 : 1;
}
