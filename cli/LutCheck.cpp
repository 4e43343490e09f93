#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "lut/LutTexts.h"
#include "lut/LutWorkbook.h"

namespace velterra {

// velterra-cli lut-check FILE [--json]: what the program would take from a LUT workbook, or
// the message it would show.
namespace {

constexpr int kExitRead = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 64;

class CollectingUi : public IUserInterface {
  public:
    void ShowMessage(const std::string& text, MessageKind) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

struct LutContent {
    bool isColor = false;
    int16_t bits = 0;
    int taps = 0;
    std::vector<uint16_t> lut, counts, nodes;

    size_t Entries() const { return size_t{1} << bits; }
    bool HasNodes() const { return !counts.empty(); }
    // Node pairs of each tap, unpacked.
    std::vector<std::vector<std::pair<int, int>>> NodesByTap() const {
        std::vector<std::vector<std::pair<int, int>>> byTap;
        size_t next = 0;
        for (uint16_t count : counts) {
            auto& tap = byTap.emplace_back();
            for (uint16_t i = 0; i < count; ++i, next += 2)
                tap.emplace_back(nodes[next], nodes[next + 1]);
        }
        return byTap;
    }
};

void PrintText(const std::string& file, const LutContent& c) {
    std::cout << "file: " << file << '\n'
              << "fixed text: "
              << (c.HasNodes() ? LutTexts::kWorkbookFixedTextV2 : LutTexts::kWorkbookFixedText)
              << '\n'
              << "mode: " << (c.isColor ? LutTexts::kWorkbookColor : LutTexts::kWorkbookMono)
              << '\n'
              << "bits: " << c.bits << '\n'
              << "taps: " << c.taps << '\n';
    const size_t n = c.Entries();
    for (int t = 0; t < c.taps; ++t)
        std::cout << "tap " << t + 1 << ": " << n << " values, first " << c.lut[t * n] << ", last "
                  << c.lut[t * n + n - 1] << '\n';
    if (!c.HasNodes()) {
        std::cout << "nodes: none\n";
        return;
    }
    auto byTap = c.NodesByTap();
    for (size_t t = 0; t < byTap.size(); ++t) {
        std::cout << "tap " << t + 1 << " nodes (" << byTap[t].size() << "):";
        for (const auto& [x, y] : byTap[t]) std::cout << " (" << x << ", " << y << ')';
        std::cout << '\n';
    }
}

nlohmann::json ToJson(const std::string& file, const LutContent& c) {
    nlohmann::json out;
    out["file"] = file;
    out["fixedText"] = c.HasNodes() ? LutTexts::kWorkbookFixedTextV2 : LutTexts::kWorkbookFixedText;
    out["color"] = c.isColor;
    out["bits"] = c.bits;
    out["taps"] = c.taps;
    out["entriesPerTap"] = c.Entries();
    const size_t n = c.Entries();
    out["luts"] = nlohmann::json::array();
    for (int t = 0; t < c.taps; ++t)
        out["luts"].push_back(
            {{"tap", t + 1}, {"first", c.lut[t * n]}, {"last", c.lut[t * n + n - 1]}});
    if (c.HasNodes()) {
        out["nodeCounts"] = c.counts;
        out["nodes"] = nlohmann::json::array();
        for (const auto& tap : c.NodesByTap()) {
            auto pairs = nlohmann::json::array();
            for (const auto& [x, y] : tap) pairs.push_back({x, y});
            out["nodes"].push_back(pairs);
        }
    } else {
        out["nodeCounts"] = nullptr;
        out["nodes"] = nullptr;
    }
    return out;
}

int RunLutCheck(CliContext& context) {
    bool json = false;
    std::string file;
    for (const auto& arg : context.args) {
        if (arg == "--json") {
            json = true;
        } else if (file.empty() && arg.rfind("--", 0) != 0) {
            file = arg;
        } else {
            file.clear();
            break;
        }
    }
    if (file.empty()) {
        std::cerr << "usage: velterra-cli lut-check FILE [--json]\n";
        return kExitUsage;
    }

    CollectingUi ui;
    LutContent content;
    bool ok = ReadLutWorkbook(ui, context.UserPath(file), content.isColor, content.bits,
                              content.taps, content.lut, &content.counts, &content.nodes);
    if (!ok) {
        const std::string message = ui.messages.empty() ? "" : ui.messages.front();
        if (json)
            std::cout << nlohmann::json{{"file", file}, {"error", message}}.dump(2) << '\n';
        else
            std::cerr << message << '\n';
        return kExitRefused;
    }
    if (json)
        std::cout << ToJson(file, content).dump(2) << '\n';
    else
        PrintText(file, content);
    return kExitRead;
}

CliCommandRegistration registration("lut-check", "FILE [--json]", &RunLutCheck);

}  // namespace

}  // namespace velterra
