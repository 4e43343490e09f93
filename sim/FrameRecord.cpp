#include "FrameRecord.h"

#include <ctime>

#include "TextFormat.h"

namespace velterra::sim {

namespace {

constexpr std::size_t kShownBytes = 24;

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string out;
    const std::size_t shown = std::min(bytes.size(), kShownBytes);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i) out += ' ';
        out += FormatText("%02X", unsigned{bytes[i]});
    }
    if (bytes.size() > shown) out += FormatText(" ... (%zu bytes)", bytes.size());
    return out;
}

std::string Time(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()) % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return FormatText("%s.%03d", text, static_cast<int>(millis.count()));
}

std::string DescribeFrame(const velterra::sim::Frame& frame) {
    std::string out = FormatText(
        "%s %s 0x%02X len %u", frame.format == FrameFormat::kShort ? "short" : "MB",
        frame.write ? "write" : "read", unsigned{frame.commandId}, unsigned{frame.length});
    if (!frame.data.empty()) out += " [" + Hex(frame.data) + "]";
    return out;
}

}  // namespace

std::string DescribeRecord(const FrameRecord& record) {
    std::string what;
    switch (record.kind) {
        case FrameRecord::Kind::kFrame:
            what = DescribeFrame(record.frame);
            break;
        case FrameRecord::Kind::kMalformed:
            what = "malformed [" + Hex(record.bytes) + "]";
            break;
        case FrameRecord::Kind::kSkipped:
            what = "skipped [" + Hex(record.bytes) + "]";
            break;
        case FrameRecord::Kind::kRaw:
            what = "raw [" + Hex(record.bytes) + "]";
            break;
        case FrameRecord::Kind::kEvent:
            what = "event";
            break;
    }
    std::string line = Time(record.time) + " " + what + " -> " + record.outcome;
    if (!record.answer.empty()) line += " [" + Hex(record.answer) + "]";
    return line;
}

}  // namespace velterra::sim
