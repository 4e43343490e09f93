// RefreshAll of the sample 4-tap camera (LS-4096M12) against the simulated camera: the time of
// a whole refresh against its floor. Per parameter the floor is the protocol's exchange floor
// (its two fixed 100 ms sleeps plus the bytes' time on the wire: request 5, ACK 1, reply n+5,
// 10 bit times per byte) plus, for numbers and texts, the 40 ms the document waits around the
// read while it holds the port lock. A pseudo-terminal carries the bytes without wire time, so
// the second ratio compares with the sleeps and waits alone.
//   bench_refresh [refreshes, default 3] [baud rate, default 9600]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchCamera.h"

using namespace velterra;

namespace {

constexpr const char* kModel = "LS-4096M12";
constexpr double kExchangeSleepsMs = 200.0;
constexpr double kValueWaitsMs = 2.0 * CVelterraDoc::kValueReadSettleMs;

}  // namespace

int main(int argc, char** argv) {
    const int refreshes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const uint32_t baud =
        argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 9600;

    BenchCamera camera;
    if (!camera.Connect("bench_refresh", kModel, 0, baud)) return 1;
    CVelterraDoc& doc = camera.doc;
    std::string reason;
    if (!doc.SwitchModel(kModel, CVelterraDoc::MenusOfFailedTable::kEmpty, &reason)) {
        std::fprintf(stderr, "bench_refresh: %s does not load: %s\n", doc.CommandFilePath.c_str(),
                     reason.c_str());
        return 1;
    }

    int lists = 0;
    int values = 0;
    double floorMs = 0;
    double sleepsMs = 0;  // the fixed waits alone: a pseudo-terminal carries bytes at once
    for (const BlockInfo& block : doc.Blocks) {
        for (const RowInfo& row : block.Rows) {
            if (!row.Command) continue;
            const double wireMs = (5 + 1 + row.Command->CharLength + 5) * 10.0 * 1000.0 / baud;
            const bool list = row.Command->EnableList != 0;
            (list ? lists : values) += 1;
            floorMs += kExchangeSleepsMs + wireMs + (list ? 0.0 : kValueWaitsMs);
            sleepsMs += kExchangeSleepsMs + (list ? 0.0 : kValueWaitsMs);
        }
    }

    std::printf("RefreshAll of %s: %d parameters (%d lists, %d numbers and texts), %u baud\n",
                kModel, lists + values, lists, values, baud);
    std::vector<double> samples;
    for (int i = 0; i < refreshes; ++i) {
        const std::size_t framesBefore = camera.FrameCount();
        const auto start = std::chrono::steady_clock::now();
        doc.RefreshAll();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        samples.push_back(ms);
        std::printf(
            "refresh %d: %.0f ms for %zu frames (%.1f ms per parameter)  floor %.0f ms  "
            "ratio %.3f  (vs the sleeps and waits alone, %.0f ms: %.3f)\n",
            i + 1, ms, camera.FrameCount() - framesBefore, ms / (lists + values), floorMs,
            ms / floorMs, sleepsMs, ms / sleepsMs);
    }
    std::sort(samples.begin(), samples.end());
    const double median = samples[samples.size() / 2];
    std::printf("median %.0f ms  floor %.0f ms  ratio %.3f  (vs the sleeps and waits alone %.3f)\n",
                median, floorMs, median / floorMs, median / sleepsMs);
    return 0;
}
