// The process-wide table of clser libraries, one entry per accepted "DLL" key of clser.ini.
#pragma once

#include <cstddef>
#include <vector>

#include "ClserLibrary.h"

namespace velterra::clserial {

class ClserTable {
  public:
    ClserTable() = default;
    ~ClserTable() { Clear(); }
    ClserTable(const ClserTable&) = delete;
    ClserTable& operator=(const ClserTable&) = delete;

    // Reads clser.ini from the current directory and loads its libraries, unless a table was
    // already loaded: once a key has been accepted the table stays for the life of the process,
    // while none has, every call reads the file again.
    void EnsureLoaded();

    bool IsLoaded() const { return !entries_.empty(); }
    // The entry with a usable module, or nullptr (beyond the table, or not loaded).
    ClserLibrary* Usable(std::size_t entry);

    // Releases every module and forgets the table.
    void Clear();

  private:
    std::vector<ClserLibrary> entries_;
};

}  // namespace velterra::clserial
