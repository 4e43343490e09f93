#pragma once

#include <array>
#include <cstdint>

#include "LegacyCamera.h"

// The legacy correction table files: 8160 decimal values in pixel order.
namespace velterra::bulk::legacy {

using codec::legacy::kPixels;

using TableValues = std::array<int32_t, kPixels>;

enum class FileResult { Done, OpenFailed, CloseFailed };

// Reads decimal integers until the end of the file, the first text that is not a number, or
// the 8160th value; `numbers` tells how many were read. Values stay as written; the camera
// takes their low 16 bits.
FileResult ReadTableFile(const char* path, TableValues& values, int& numbers);

// Writes each value as "%d\t", with a line end after every 10th. A failed write counts as a
// failed close: either way the file does not hold the table.
FileResult WriteTableFile(const char* path, const TableValues& values);

}  // namespace velterra::bulk::legacy
