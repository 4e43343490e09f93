// Times reading the sample configuration: one profile read (each reads the file afresh), the
// model lookup in CAM_VL.ini and loading the largest sample model's command table.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "IniProfile.h"
#include "core/ModelFile.h"

using namespace velterra;

namespace {

// Median of several rounds, each the mean of `count` calls, in microseconds.
double MedianMicroseconds(int count, const std::function<void()>& call) {
    std::vector<double> rounds;
    for (int round = 0; round < 7; ++round) {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i) call();
        std::chrono::duration<double, std::micro> elapsed =
            std::chrono::steady_clock::now() - start;
        rounds.push_back(elapsed.count() / count);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

}  // namespace

int main() {
    const std::string dir = VELTERRA_CONFIG_DIR;
    const std::string commandFile = dir + "/Command.ini";
    const std::string model = dir + "/LS4096M12.ini";

    double profileRead = MedianMicroseconds(2000, [&] {
        if (ReadProfileString("FPNPRNURead", "CommandID", "0", commandFile, 64).empty()) {
            std::puts("unexpected: no CommandID");
        }
    });
    double lookup = MedianMicroseconds(2000, [&] {
        std::string path;
        if (!FindModelFile(dir, "LS-8160-4T5500", path)) std::puts("unexpected: model not found");
    });
    int rows = 0;
    double load = MedianMicroseconds(200, [&] {
        CameraModel loaded;
        if (!LoadModelFile(model, loaded)) std::puts("unexpected: load failed");
        rows = 0;
        for (const auto& block : loaded.Blocks) rows += block.RowCount;
    });
    std::printf("one profile read of Command.ini:        %8.1f us\n", profileRead);
    std::printf("model lookup in CAM_VL.ini:             %8.1f us\n", lookup);
    std::printf("model file LS4096M12.ini (%d rows):      %8.1f us\n", rows, load);
    return 0;
}
