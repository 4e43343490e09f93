#include <charconv>
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "lut/LutWorkbook.h"

namespace velterra {

// velterra-cli lut-export --bits N --taps T [--color] [--nodes] OUT.xlsx: an identity LUT
// workbook with the editor's default nodes, a starting point for a user's own LUT.
namespace {

constexpr int kExitWritten = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 64;

class ConsoleUi : public IUserInterface {
  public:
    void ShowMessage(const std::string& text, MessageKind) override { std::cerr << text << '\n'; }
};

bool ParseInt(const std::string& text, int& value) {
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

int Usage() {
    std::cerr << "usage: velterra-cli lut-export --bits N --taps T [--color] [--nodes] OUT.xlsx\n";
    return kExitUsage;
}

int RunLutExport(CliContext& context) {
    const auto& args = context.args;
    int bits = -1, taps = -1;
    bool color = false, withNodes = false;
    std::string out;
    for (size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--bits" || args[i] == "--taps") && i + 1 < args.size()) {
            if (!ParseInt(args[i + 1], args[i] == "--bits" ? bits : taps)) return Usage();
            ++i;
        } else if (args[i] == "--color") {
            color = true;
        } else if (args[i] == "--nodes") {
            withNodes = true;
        } else if (out.empty() && args[i].rfind("--", 0) != 0) {
            out = args[i];
        } else {
            return Usage();
        }
    }
    if (out.empty() || (!color && (bits < 0 || taps < 0))) return Usage();
    if (color) {
        bits = 8;
        taps = 3;
    }

    // Only a geometry the workbook can hold gets data; the writer refuses the rest with its
    // own message.
    std::vector<uint16_t> lut, counts, nodes;
    if (bits >= 0 && bits <= 14 && taps >= 1 && taps <= 4) {
        const int n = 1 << bits;
        for (int t = 0; t < taps; ++t) {
            for (int i = 0; i < n; ++i) lut.push_back(static_cast<uint16_t>(i));
            counts.push_back(2);
            nodes.insert(nodes.end(),
                         {0, 0, static_cast<uint16_t>(n - 1), static_cast<uint16_t>(n - 1)});
        }
    }
    ConsoleUi ui;
    int16_t bits16 = bits >= INT16_MIN && bits <= INT16_MAX ? static_cast<int16_t>(bits) : -1;
    if (!WriteLutWorkbook(ui, context.UserPath(out), color, bits16, taps, lut,
                          withNodes ? &counts : nullptr, withNodes ? &nodes : nullptr))
        return kExitRefused;
    std::cout << "wrote " << out << ": " << (color ? "colour" : "mono") << ", " << bits << " bits, "
              << taps << (taps == 1 ? " tap" : " taps") << ", identity LUT"
              << (withNodes ? " with default nodes" : "") << '\n';
    return kExitWritten;
}

CliCommandRegistration registration("lut-export", "--bits N --taps T [--color] [--nodes] OUT.xlsx",
                                    &RunLutExport);

}  // namespace

}  // namespace velterra
