#include "lut/LutWorkbook.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <optional>
#include <string>

#include "lut/LutTexts.h"
#include "lut/WorkbookFile.h"

namespace velterra {

namespace {

constexpr int kColorBits = 8;
constexpr int kColorTaps = 3;
constexpr int kMinBits = 8;
constexpr int kMaxBits = 14;  // 2^16 does not fit the 16-bit entry count
constexpr int kMaxTaps = 4;   // LUT columns C to F
constexpr int kMaxNodeCount = 10;

void Show(IUserInterface& ui, const char* text) {
    ui.ShowMessage(text, MessageKind::Plain);
}

std::string Format(const char* format, const std::string& file, const std::string& reason) {
    int size = std::snprintf(nullptr, 0, format, file.c_str(), reason.c_str());
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, format, file.c_str(), reason.c_str());
    return text;
}

bool MonoBitsValid(int bits) {
    return bits >= kMinBits && bits <= kMaxBits && bits % 2 == 0;
}

char LutColumn(int tap) {
    return "CDEF"[tap < 3 ? tap : 3];
}
char NodeColumn(int tap) {
    return static_cast<char>('G' + 2 * tap);
}

std::string Cell(char column, int row) {
    char name[16];
    std::snprintf(name, sizeof name, "%c%d", column, row);
    return name;
}

// Numbers of the workbook live in 16 bits: a cell counts when it holds a number whose value
// truncated toward zero fits a 16-bit signed integer. Values outside that range are refused
// rather than wrapped, so 65536 can never come back as 0.
std::optional<int> CellInt16(const Worksheet& sheet, const std::string& name) {
    auto number = sheet.Number(name);
    if (!number || !std::isfinite(*number)) return std::nullopt;
    double truncated = std::trunc(*number);
    if (truncated < -32768.0 || truncated > 32767.0) return std::nullopt;
    return static_cast<int>(truncated);
}

// LUT and node cells hold 16-bit unsigned values (a camera's table entry may be anything up to
// 65535); read the same way, so no value is ever written as a negative number or wrapped.
std::optional<int> CellUint16(const Worksheet& sheet, const std::string& name) {
    auto number = sheet.Number(name);
    if (!number || !std::isfinite(*number)) return std::nullopt;
    double truncated = std::trunc(*number);
    if (truncated < 0.0 || truncated > 65535.0) return std::nullopt;
    return static_cast<int>(truncated);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

bool WriteLutWorkbook(IUserInterface& ui, Worksheet& sheet, bool isColor, int16_t bits, int taps,
                      std::span<const uint16_t> lut, const std::vector<uint16_t>* counts,
                      const std::vector<uint16_t>* nodes) {
    if (isColor) {
        bits = kColorBits;
        taps = kColorTaps;
    } else if (!MonoBitsValid(bits)) {
        Show(ui, LutTexts::kIncorrectBitDepth);
        return false;
    } else if (taps < 1 || taps > kMaxTaps) {
        Show(ui, LutTexts::kIncorrectTapsNumber);
        return false;
    }
    const int n = 1 << bits;
    const bool withVectors = counts != nullptr && nodes != nullptr;
    size_t nodeValues = 0;
    if (withVectors && counts->size() >= static_cast<size_t>(taps))
        nodeValues = 2 * std::accumulate(counts->begin(), counts->begin() + taps, size_t{0});
    if (lut.size() < static_cast<size_t>(taps) * n ||
        (withVectors &&
         (counts->size() < static_cast<size_t>(taps) || nodes->size() < nodeValues))) {
        Show(ui, LutTexts::kIncompleteLutData);
        return false;
    }

    sheet.Clear();
    sheet.SetText("A1",
                  withVectors ? LutTexts::kWorkbookFixedTextV2 : LutTexts::kWorkbookFixedText);
    sheet.SetText("A2", isColor ? LutTexts::kWorkbookColor : LutTexts::kWorkbookMono);
    sheet.SetNumber("A3", static_cast<int16_t>(bits));
    sheet.SetNumber("A4", static_cast<int16_t>(taps));
    for (int idx = 0; idx < taps * n; ++idx)
        sheet.SetNumber(Cell(LutColumn(idx / n), idx % n + 1), lut[idx]);

    if (withVectors) {
        size_t next = 0;
        for (int t = 0; t < taps; ++t) {
            const char column = NodeColumn(t);
            sheet.SetNumber(Cell(column, 1), (*counts)[t]);
            for (int i = 0; i < (*counts)[t]; ++i, next += 2) {
                sheet.SetNumber(Cell(column, i + 2), (*nodes)[next]);
                sheet.SetNumber(Cell(column + 1, i + 2), (*nodes)[next + 1]);
            }
        }
    }
    return true;
}

bool WriteLutWorkbook(IUserInterface& ui, const std::filesystem::path& file, bool isColor,
                      int16_t bits, int taps, std::span<const uint16_t> lut,
                      const std::vector<uint16_t>* counts, const std::vector<uint16_t>* nodes) {
    Worksheet sheet;
    if (!WriteLutWorkbook(ui, sheet, isColor, bits, taps, lut, counts, nodes)) return false;
    std::string reason;
    if (!SaveWorksheet(file, sheet, reason)) {
        ui.ShowMessage(Format(LutTexts::kCannotSaveLutFile, file.string(), reason),
                       MessageKind::Warning);
        return false;
    }
    return true;
}

bool ReadLutWorkbook(IUserInterface& ui, const Worksheet& sheet, bool& isColor, int16_t& bits,
                     int& taps, std::vector<uint16_t>& lut, std::vector<uint16_t>* counts,
                     std::vector<uint16_t>* nodes) {
    const std::string fixedText = sheet.Text("A1");
    if (fixedText != LutTexts::kWorkbookFixedText && fixedText != LutTexts::kWorkbookFixedTextV2) {
        Show(ui, LutTexts::kInvalidFixedText);
        return false;
    }
    const bool v2 = fixedText == LutTexts::kWorkbookFixedTextV2;

    // Lower-cased only: a blank around the word makes it a different text.
    const std::string mode = Lower(sheet.Text("A2"));
    if (mode != "mono" && mode != "color") {
        Show(ui, LutTexts::kInvalidFixedText);
        return false;
    }
    const bool color = mode == "color";

    int readBits = kColorBits;
    int readTaps = kColorTaps;
    if (!color) {
        auto a3 = CellInt16(sheet, "A3");
        if (!a3 || !MonoBitsValid(*a3)) {
            Show(ui, LutTexts::kInvalidBitDepth);
            return false;
        }
        readBits = *a3;
        auto a4 = CellInt16(sheet, "A4");
        if (!a4 || *a4 < 1 || *a4 > kMaxTaps) {
            Show(ui, LutTexts::kInvalidTapsNumber);
            return false;
        }
        readTaps = *a4;
    }
    const int n = 1 << readBits;

    std::vector<uint16_t> values(static_cast<size_t>(readTaps) * n);
    for (int idx = 0; idx < readTaps * n; ++idx) {
        auto v = CellUint16(sheet, Cell(LutColumn(idx / n), idx % n + 1));
        if (!v || *v < 0 || *v >= n) {
            Show(ui, LutTexts::kInvalidValue);
            return false;
        }
        values[idx] = static_cast<uint16_t>(*v);
    }

    isColor = color;
    bits = static_cast<int16_t>(readBits);
    taps = readTaps;
    lut = std::move(values);

    if (counts != nullptr) counts->clear();
    if (nodes != nullptr) nodes->clear();
    if (!v2 || counts == nullptr || nodes == nullptr) return true;

    // Vector cells never fail the read: a bad count gives the tap no nodes, a bad node value 0.
    counts->assign(readTaps, 0);
    for (int t = 0; t < readTaps; ++t) {
        auto count = CellInt16(sheet, Cell(NodeColumn(t), 1));
        if (count && *count >= 1 && *count <= kMaxNodeCount)
            (*counts)[t] = static_cast<uint16_t>(*count);
    }
    nodes->assign(2 * std::accumulate(counts->begin(), counts->end(), size_t{0}), 0);
    size_t next = 0;
    for (int t = 0; t < readTaps; ++t) {
        const char column = NodeColumn(t);
        for (int row = 2; row <= (*counts)[t] + 1; ++row, next += 2) {
            for (int k = 0; k < 2; ++k) {
                auto v = CellUint16(sheet, Cell(static_cast<char>(column + k), row));
                if (v && *v >= 0 && *v < n) (*nodes)[next + k] = static_cast<uint16_t>(*v);
            }
        }
    }
    return true;
}

bool ReadLutWorkbook(IUserInterface& ui, const std::filesystem::path& file, bool& isColor,
                     int16_t& bits, int& taps, std::vector<uint16_t>& lut,
                     std::vector<uint16_t>* counts, std::vector<uint16_t>* nodes) {
    Worksheet sheet;
    std::string reason;
    if (!LoadWorksheet(file, sheet, reason)) {
        ui.ShowMessage(Format(LutTexts::kCannotOpenLutFile, file.string(), reason),
                       MessageKind::Warning);
        return false;
    }
    return ReadLutWorkbook(ui, sheet, isColor, bits, taps, lut, counts, nodes);
}

}  // namespace velterra
