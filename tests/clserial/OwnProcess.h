// The Camera Link transport reads clser.ini once per process, so every clser.ini scenario runs
// in a child process of its own: a fresh directory with the scenario's clser.ini becomes the
// child's current directory, the body runs there and returns a text that the test compares.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velterra::test {

struct ChildResult {
    std::string output;   // what the body returned
    std::string calls;    // the clser calls the test libraries logged, the exit's included
    std::string failure;  // empty when the child exited normally with status 0
};

// Runs `body` in a forked child inside a new directory holding `clserIni`. The child ends with
// exit(), so the transport unloads as at the end of a program. `environment` is set in the child.
ChildResult RunInOwnProcess(
    const std::string& clserIni,
    const std::function<std::string(const std::filesystem::path&)>& body,
    const std::vector<std::pair<std::string, std::string>>& environment = {});

// In the child: the test controls of a loaded test clser library ("full", "nobaud", ...).
void FeedLine(const char* flavour, uint32_t serialIndex, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> WrittenToLine(const char* flavour, uint32_t serialIndex);

// "index:result" of CLS_OpenPort for each index, separated by blanks ("0:1 1:1 2:0").
std::string OpenEach(const std::vector<int32_t>& indices, uint32_t baudRate = 9600,
                     uint8_t kernelType = 0);

// Hex bytes "02 10 03" for comparisons in the body's output.
std::string Hex(const uint8_t* bytes, size_t count);
inline std::string Hex(const std::vector<uint8_t>& bytes) {
    return Hex(bytes.data(), bytes.size());
}

}  // namespace velterra::test
