// One entry of the clser library table: a maker's clser library loaded into the process and
// its serial entry points.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "ClserApi.h"

namespace velterra::clserial {

class ClserLibrary {
  public:
    ClserLibrary() = default;
    ~ClserLibrary() { Release(); }
    ClserLibrary(ClserLibrary&& other) noexcept { *this = std::move(other); }
    ClserLibrary& operator=(ClserLibrary&& other) noexcept;
    ClserLibrary(const ClserLibrary&) = delete;
    ClserLibrary& operator=(const ClserLibrary&) = delete;

    // Takes the module already in the process under one of the names `value` stands for, else
    // loads it (see LoadNames). Leaves the entry without a module when nothing loads.
    void Load(const std::string& value, const std::filesystem::path& directory);

    // Resolves the entry points; when a required one is missing the module is released.
    void ResolveEntryPoints();

    // Releases the module (one reference) and forgets the entry points.
    void Release();

    bool HasModule() const { return module_ != nullptr; }
    const void* Module() const { return module_; }
    bool HasBaudRate() const { return setBaudRate != nullptr; }

    ClSerialInitFn serialInit = nullptr;
    ClSerialReadFn serialRead = nullptr;
    ClSerialWriteFn serialWrite = nullptr;
    ClSerialCloseFn serialClose = nullptr;
    ClSetBaudRateFn setBaudRate = nullptr;  // optional

  private:
    void* module_ = nullptr;
};

// The names a clser.ini value is looked for under, in order: the value as written in
// `directory`; there with ".dll" replaced by ".so"; there with "lib" before that; then the ".so"
// name and the "lib" name through the system's library search; last, both in the folder of the
// transport library itself.
std::vector<std::string> LoadNames(const std::string& value,
                                   const std::filesystem::path& directory);

}  // namespace velterra::clserial
