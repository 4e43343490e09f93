// Writing and reading a 14-bit, 4-tap LUT workbook (65536 LUT cells, plus 10 nodes a tap):
// time of each step and the peak memory of a process that does only that step.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "lut/LutWorkbook.h"
#include "lut/WorkbookFile.h"

using namespace velterra;

namespace {

constexpr int kBits = 14;
constexpr int kTaps = 4;
constexpr int kRuns = 5;

class QuietUi : public IUserInterface {
  public:
    void ShowMessage(const std::string& text, MessageKind) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
};

struct Lut {
    std::vector<uint16_t> values, counts, nodes;
};

Lut MakeLut() {
    const int n = 1 << kBits;
    Lut lut;
    for (int t = 0; t < kTaps; ++t) {
        for (int i = 0; i < n; ++i) lut.values.push_back(static_cast<uint16_t>((i * (t + 1)) % n));
        lut.counts.push_back(10);
        for (int k = 0; k < 10; ++k) {
            lut.nodes.push_back(static_cast<uint16_t>(k * (n - 1) / 9));
            lut.nodes.push_back(static_cast<uint16_t>(k * (n - 1) / 9));
        }
    }
    return lut;
}

double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Median wall-clock and processor time of the step; the machine may be shared, so both.
struct Timing {
    double wallMs, cpuMs;
};

Timing Median(const std::function<void()>& step) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < kRuns; ++i) {
        auto start = std::chrono::steady_clock::now();
        double cpuStart = CpuMs();
        step();
        cpu.push_back(CpuMs() - cpuStart);
        wall.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[kRuns / 2], cpu[kRuns / 2]};
}

void PrintTiming(const char* what, const Timing& t) {
    std::printf("  %-22s %8.1f ms wall %8.1f ms processor\n", what, t.wallMs, t.cpuMs);
}

// Peak resident memory (KiB) of a child process that runs the step once.
long PeakKiB(const std::function<void()>& step) {
    pid_t pid = fork();
    if (pid == 0) {
        step();
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main() {
    const Lut lut = MakeLut();
    const auto dir =
        std::filesystem::temp_directory_path() / ("bench_lut_workbook." + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "lut14x4.xlsx";
    QuietUi ui;

    auto fillSheet = [&] {
        Worksheet sheet;
        if (!WriteLutWorkbook(ui, sheet, false, kBits, kTaps, lut.values, &lut.counts, &lut.nodes))
            std::abort();
    };
    auto writeFile = [&] {
        if (!WriteLutWorkbook(ui, file, false, kBits, kTaps, lut.values, &lut.counts, &lut.nodes))
            std::abort();
    };
    auto readFile = [&] {
        bool isColor;
        int16_t bits;
        int taps;
        std::vector<uint16_t> values, counts, nodes;
        if (!ReadLutWorkbook(ui, file, isColor, bits, taps, values, &counts, &nodes) ||
            values != lut.values)
            std::abort();
    };
    // Peaks first, while this process holds nothing but the LUT: a child starts with what its
    // parent has resident.
    const long baseline = PeakKiB([] {});
    const long writePeak = PeakKiB(writeFile);
    const long readPeak = PeakKiB(readFile);

    Worksheet loaded;
    auto loadSheet = [&] {
        std::string error;
        if (!LoadWorksheet(file, loaded, error)) std::abort();
    };
    auto readSheet = [&] {
        bool isColor;
        int16_t bits;
        int taps;
        std::vector<uint16_t> values, counts, nodes;
        if (!ReadLutWorkbook(ui, loaded, isColor, bits, taps, values, &counts, &nodes))
            std::abort();
    };
    loadSheet();

    std::printf("LUT workbook, %d bits, %d taps: %zu LUT cells, %zu node cells\n", kBits, kTaps,
                lut.values.size(), lut.nodes.size() + lut.counts.size());
    std::printf("file size: %ju bytes\n", static_cast<uintmax_t>(std::filesystem::file_size(file)));
    std::printf("median of %d runs:\n", kRuns);
    PrintTiming("fill worksheet", Median(fillSheet));
    PrintTiming("write .xlsx (total)", Median(writeFile));
    PrintTiming("load .xlsx to sheet", Median(loadSheet));
    PrintTiming("read LUT from sheet", Median(readSheet));
    PrintTiming("read .xlsx (total)", Median(readFile));
    std::printf("peak resident memory of a process doing one step (empty step %ld KiB):\n",
                baseline);
    std::printf("  write .xlsx           %8ld KiB\n", writePeak);
    std::printf("  read .xlsx            %8ld KiB\n", readPeak);

    std::filesystem::remove_all(dir);
    return 0;
}
