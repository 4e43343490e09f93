#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "core/UserInterface.h"
#include "lut/Worksheet.h"

namespace velterra {

// The LUT workbook: the system's LUT file format, first worksheet only.
//   A1 "Tavrin NX LUT" or, with vector nodes, "Tavrin NX LUT V2"; A2 "Color" / "Mono";
//   A3 bit depth; A4 taps; columns C, D, E, F: the LUT of taps 1 to 4, row r = input r - 1;
//   V2: G1, I1, K1, M1 node counts of taps 1 to 4, nodes below them as X/Y column pairs
//   (G/H, I/J, K/L, M/N) from row 2.
//
// In-memory data: the LUT is taps x 2^bits entries, tap after tap; counts hold one entry per
// tap; nodes are (X, Y) pairs packed tap after tap with no gaps (counts[0] pairs of tap 1
// first). Colour LUTs are always 8 bits and 3 taps. Mono LUTs take even bit depths 8 to 14
// and 1 to 4 taps.

// Fills `sheet` (emptied first) with the workbook of the LUT. The vector nodes are written,
// and A1 says V2, only when both `counts` and `nodes` are given. Colour ignores `bits` and
// `taps`. Returns false after a message for a bad mono bit depth or tap count, or for LUT
// data shorter than the geometry needs.
bool WriteLutWorkbook(IUserInterface& ui, Worksheet& sheet, bool isColor, int16_t bits, int taps,
                      std::span<const uint16_t> lut, const std::vector<uint16_t>* counts = nullptr,
                      const std::vector<uint16_t>* nodes = nullptr);

// The same, saved as an .xlsx file; a file that cannot be written gives a message naming it.
bool WriteLutWorkbook(IUserInterface& ui, const std::filesystem::path& file, bool isColor,
                      int16_t bits, int taps, std::span<const uint16_t> lut,
                      const std::vector<uint16_t>* counts = nullptr,
                      const std::vector<uint16_t>* nodes = nullptr);

// Validates the workbook and gives out its LUT. Vector data is read only from a V2 workbook
// and only when both `counts` and `nodes` are given; otherwise any given ones come back empty.
// On failure a message is shown, false returned and no output is touched.
bool ReadLutWorkbook(IUserInterface& ui, const Worksheet& sheet, bool& isColor, int16_t& bits,
                     int& taps, std::vector<uint16_t>& lut, std::vector<uint16_t>* counts = nullptr,
                     std::vector<uint16_t>* nodes = nullptr);

// The same from an .xlsx or .xls file; a file that cannot be opened or is no workbook gives a
// message naming it.
bool ReadLutWorkbook(IUserInterface& ui, const std::filesystem::path& file, bool& isColor,
                     int16_t& bits, int& taps, std::vector<uint16_t>& lut,
                     std::vector<uint16_t>* counts = nullptr,
                     std::vector<uint16_t>* nodes = nullptr);

}  // namespace velterra
