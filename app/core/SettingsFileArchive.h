#pragma once
#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace velterra {

// Byte and line I/O of a settings file over binary streams, with the line rules the files have
// always had: a line is written as its bytes without a terminator (the caller adds the line
// feed), and read up to a line feed, which is consumed; a carriage return right before that
// line feed is dropped. Bytes are 8-bit characters throughout.
class SettingsFileArchive {
  public:
    explicit SettingsFileArchive(std::istream& in) : in_(&in) {}
    explicit SettingsFileArchive(std::ostream& out) : out_(&out) {}

    bool IsStoring() const { return out_ != nullptr; }

    void WriteString(std::string_view text);
    void WriteByte(uint8_t byte);
    void WriteBytes(const uint8_t* bytes, std::size_t count);
    // False once a write has failed.
    bool WriteOk() const { return out_ != nullptr && out_->good(); }

    // One line without its line feed (and without a carriage return before it). False only when
    // the stream was already at its end: a last line without a line feed still counts.
    bool ReadString(std::string& line);
    // ReadString, then the text only up to a NUL byte in it: a name stored by a C string ends
    // there, whatever follows on the line.
    bool ReadText(std::string& text);
    // Up to count bytes; returns how many arrived (fewer only at the end of the file).
    std::size_t ReadBytes(uint8_t* bytes, std::size_t count);
    // Skips up to count bytes; returns how many were there.
    std::size_t SkipBytes(std::size_t count);

  private:
    std::istream* in_ = nullptr;
    std::ostream* out_ = nullptr;
};

}  // namespace velterra
