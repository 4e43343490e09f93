#include "SettingsFileArchive.h"

#include <streambuf>

namespace velterra {

void SettingsFileArchive::WriteString(std::string_view text) {
    if (out_ != nullptr) out_->write(text.data(), static_cast<std::streamsize>(text.size()));
}

void SettingsFileArchive::WriteByte(uint8_t byte) {
    if (out_ != nullptr) out_->put(static_cast<char>(byte));
}

void SettingsFileArchive::WriteBytes(const uint8_t* bytes, std::size_t count) {
    if (out_ != nullptr && count > 0) {
        out_->write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(count));
    }
}

bool SettingsFileArchive::ReadString(std::string& line) {
    line.clear();
    if (in_ == nullptr) return false;
    std::streambuf* buffer = in_->rdbuf();
    if (buffer == nullptr) return false;
    bool any = false;
    for (;;) {
        const auto c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in_->setstate(std::ios::eofbit);
            return any;
        }
        any = true;
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        line.push_back(static_cast<char>(c));
    }
}

bool SettingsFileArchive::ReadText(std::string& text) {
    const bool read = ReadString(text);
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return read;
}

std::size_t SettingsFileArchive::ReadBytes(uint8_t* bytes, std::size_t count) {
    if (in_ == nullptr || count == 0) return 0;
    in_->read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(in_->gcount());
}

std::size_t SettingsFileArchive::SkipBytes(std::size_t count) {
    if (in_ == nullptr || count == 0) return 0;
    in_->ignore(static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(in_->gcount());
}

}  // namespace velterra
