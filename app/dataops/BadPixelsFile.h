#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velterra {

// The camera's bad-pixel block and its text file BadPixels.txt. Limits E (even) and O (odd):
// O > 0 is the two-list form, (E + O) * 4 + 4 bytes: even count, E pair slots, odd count, O pair
// slots; O = 0 the single-list form, E * 4 + 2 bytes: count, E pair slots. Values are signed
// 16-bit, least significant byte first.
namespace BadPixels {

// Block size of the form; 0 for limits no block can have (negative, or beyond a 16-bit length).
std::size_t BlockSize(int even, int odd);

struct Conversion {
    bool ok = false;
    std::string message;         // the message box text when !ok
    std::string text;            // camera to file: the file's text
    std::vector<uint8_t> block;  // file to camera: the block, cleared and then filled
};

// The file text of a block read from the camera ("%d\n" counts, "%d\t%d\n" pairs). A count
// above its limit fails with the camera-side message; negative counts pass and have no pairs.
Conversion TextOfBlock(std::span<const uint8_t> block, int even, int odd);

// The block of a file's text: counts as "%hd" takes them (the leading number of a line), pairs
// as "%hd\t%hd" (two numbers apart by any white space), text after them ignored; LF or CR LF.
// Lines after the last needed pair are not looked at.
Conversion BlockOfText(std::string_view text, int even, int odd);

}  // namespace BadPixels

}  // namespace velterra
