#include "lut/XlsxReader.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

#include "lut/LutTexts.h"
#include "lut/Utf8.h"
#include "lut/XlsxPackage.h"

namespace velterra {

namespace {

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' ||
                             text.front() == '\n'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

template <typename T>
bool ParseInteger(std::string_view text, T& value) {
    text = Trim(text);
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

std::optional<double> ParseNumber(std::string_view text) {
    text = Trim(text);
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Spreadsheet strings escape characters XML cannot carry as "_xHHHH_" (and a literal "_x"
// sequence as "_x005F_x..."); undo that so texts compare as the user typed them.
std::string DecodeEscapes(std::string_view text) {
    if (text.find("_x") == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t code = 0;
        if (i + 7 <= text.size() && text[i] == '_' && text[i + 1] == 'x' && text[i + 6] == '_') {
            auto hex = text.substr(i + 2, 4);
            auto result = std::from_chars(hex.data(), hex.data() + 4, code, 16);
            if (result.ec == std::errc() && result.ptr == hex.data() + 4) {
                AppendUtf8(out, code);
                i += 7;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

// <si> items of the shared string table; rich-text runs are joined, phonetic hints dropped.
class SharedStringsHandler : public XmlPartHandler {
  public:
    SharedStringsHandler(std::vector<std::string>& strings, size_t limit)
        : strings_(strings), limit_(limit) {}

    bool tooLarge = false;

    void StartElement(std::string_view name, const char**) override {
        if (name == "si") {
            inItem_ = true;
            current_.clear();
        } else if (name == "rPh") {
            ++phonetic_;
        } else if (name == "t" && inItem_ && phonetic_ == 0) {
            inText_ = true;
        }
    }
    void EndElement(std::string_view name) override {
        if (name == "si") {
            if (strings_.size() >= limit_) {
                tooLarge = failed = true;
                return;
            }
            strings_.push_back(DecodeEscapes(current_));
            inItem_ = false;
        } else if (name == "rPh") {
            if (phonetic_ > 0) --phonetic_;
        } else if (name == "t") {
            inText_ = false;
        }
    }
    void CharacterData(std::string_view text) override {
        if (inText_) current_ += text;
    }

  private:
    std::vector<std::string>& strings_;
    size_t limit_;
    std::string current_;
    bool inItem_ = false;
    bool inText_ = false;
    int phonetic_ = 0;
};

class SheetHandler : public XmlPartHandler {
  public:
    SheetHandler(const std::vector<std::string>& strings, Worksheet& sheet)
        : strings_(strings), sheet_(sheet) {}

    bool tooLarge = false;

    void StartElement(std::string_view name, const char** attributes) override {
        if (name == "sheetData") {
            inData_ = true;
        } else if (!inData_) {
            return;
        } else if (name == "row") {
            StartRow(attributes);
        } else if (name == "c") {
            StartCell(attributes);
        } else if (!inCell_) {
            return;
        } else if (name == "v") {
            inValue_ = true;
            hasValue_ = true;
        } else if (name == "is") {
            inInline_ = true;
            hasInline_ = true;
        } else if (name == "rPh") {
            ++phonetic_;
        } else if (name == "t" && inInline_ && phonetic_ == 0) {
            inInlineText_ = true;
        }
    }

    void EndElement(std::string_view name) override {
        if (name == "sheetData") {
            inData_ = false;
        } else if (name == "c" && inCell_) {
            EndCell();
        } else if (name == "v") {
            inValue_ = false;
        } else if (name == "is") {
            inInline_ = false;
        } else if (name == "rPh") {
            if (phonetic_ > 0) --phonetic_;
        } else if (name == "t") {
            inInlineText_ = false;
        }
    }

    void CharacterData(std::string_view text) override {
        if (inValue_) value_ += text;
        if (inInlineText_) inlineText_ += text;
    }

  private:
    void StartRow(const char** attributes) {
        auto r = Attribute(attributes, "r");
        uint32_t row = row_ + 1;
        if (!r.empty() && (!ParseInteger(r, row) || row < 1 || row > Worksheet::kMaxRows)) {
            failed = true;
            return;
        }
        row_ = row;
        nextColumn_ = 0;
    }

    void StartCell(const char** attributes) {
        auto r = Attribute(attributes, "r");
        if (r.empty()) {
            cellRow_ = row_ == 0 ? 1 : row_;
            cellColumn_ = nextColumn_;
        } else if (!Worksheet::ParseCellName(r, cellRow_, cellColumn_)) {
            failed = true;
            return;
        }
        if (cellColumn_ >= Worksheet::kMaxColumns) {
            failed = true;
            return;
        }
        nextColumn_ = cellColumn_ + 1;
        type_ = Attribute(attributes, "t");
        value_.clear();
        inlineText_.clear();
        hasValue_ = hasInline_ = false;
        inCell_ = true;
    }

    void EndCell() {
        inCell_ = inValue_ = inInline_ = inInlineText_ = false;
        phonetic_ = 0;
        Worksheet::Cell cell;
        if (type_ == "inlineStr") {
            if (hasInline_) cell = DecodeEscapes(inlineText_);
        } else if (!hasValue_) {
            // A cell with a style or an uncomputed formula but no value is empty.
        } else if (type_ == "s") {
            size_t index = 0;
            if (!ParseInteger(value_, index) || index >= strings_.size()) {
                failed = true;
                return;
            }
            cell = strings_[index];
        } else if (type_ == "str" || type_ == "e" || type_ == "d") {
            cell = DecodeEscapes(value_);
        } else if (type_ == "b") {
            auto flag = Trim(value_);
            cell = std::string(flag == "1" ? "TRUE" : "FALSE");
        } else if (type_.empty() || type_ == "n") {
            auto number = ParseNumber(value_);
            if (!number) {
                failed = true;
                return;
            }
            cell = *number;
        } else {
            failed = true;
            return;
        }
        if (std::holds_alternative<std::monostate>(cell)) return;
        if (sheet_.CellCount() >= sheet_.CellLimit()) {
            tooLarge = failed = true;
            return;
        }
        sheet_.Set(cellRow_, cellColumn_, std::move(cell));
    }

    const std::vector<std::string>& strings_;
    Worksheet& sheet_;
    bool inData_ = false, inCell_ = false, inValue_ = false, inInline_ = false,
         inInlineText_ = false, hasValue_ = false, hasInline_ = false;
    int phonetic_ = 0;
    uint32_t row_ = 0, nextColumn_ = 0, cellRow_ = 0, cellColumn_ = 0;
    std::string type_, value_, inlineText_;
};

// Collects the relationship ids of <sheet> entries in tab order.
class WorkbookHandler : public XmlPartHandler {
  public:
    std::vector<std::string> sheetIds;
    bool sawWorkbook = false;

    void StartElement(std::string_view name, const char** attributes) override {
        if (name == "workbook") sawWorkbook = true;
        if (name == "sheet") sheetIds.emplace_back(Attribute(attributes, "id"));
    }
    void EndElement(std::string_view) override {}
};

const char* ReasonOf(XlsxPackage::PartResult result) {
    return result == XlsxPackage::PartResult::TooLarge ? LutTexts::kReasonTooLarge
                                                       : LutTexts::kReasonDamaged;
}

bool ReadPackage(const XlsxPackage& package, Worksheet& sheet, std::string& error) {
    using PartResult = XlsxPackage::PartResult;
    sheet.Clear();

    std::vector<XlsxPackage::Relationship> rootRels;
    std::string workbookPart = "xl/workbook.xml";
    PartResult result = package.ReadRelationships("", rootRels);
    if (result != PartResult::Ok && result != PartResult::Missing) {
        error = ReasonOf(result);
        return false;
    }
    for (const auto& rel : rootRels)
        if (EndsWith(rel.type, "/officeDocument")) {
            workbookPart = rel.target;
            break;
        }

    WorkbookHandler workbook;
    result = package.ParsePart(workbookPart, workbook);
    if (result == PartResult::Missing || (result == PartResult::Ok && !workbook.sawWorkbook)) {
        error = LutTexts::kReasonNotWorkbook;
        return false;
    }
    if (result != PartResult::Ok) {
        error = ReasonOf(result);
        return false;
    }

    std::vector<XlsxPackage::Relationship> rels;
    result = package.ReadRelationships(workbookPart, rels);
    if (result != PartResult::Ok && result != PartResult::Missing) {
        error = ReasonOf(result);
        return false;
    }
    std::string sheetPart, stringsPart;
    for (const auto& id : workbook.sheetIds) {
        for (const auto& rel : rels)
            if (rel.id == id && EndsWith(rel.type, "/worksheet")) sheetPart = rel.target;
        if (!sheetPart.empty()) break;
    }
    for (const auto& rel : rels)
        if (EndsWith(rel.type, "/sharedStrings")) stringsPart = rel.target;
    if (sheetPart.empty()) {
        error = LutTexts::kReasonNoWorksheet;
        return false;
    }

    std::vector<std::string> strings;
    if (!stringsPart.empty()) {
        SharedStringsHandler handler(strings, sheet.CellLimit());
        result = package.ParsePart(stringsPart, handler);
        if (result != PartResult::Ok && result != PartResult::Missing) {
            error = handler.tooLarge ? LutTexts::kReasonTooLarge : ReasonOf(result);
            return false;
        }
    }

    SheetHandler handler(strings, sheet);
    result = package.ParsePart(sheetPart, handler);
    if (result != PartResult::Ok) {
        error = handler.tooLarge || result == PartResult::TooLarge ? LutTexts::kReasonTooLarge
                : result == PartResult::Missing                    ? LutTexts::kReasonNoWorksheet
                                                                   : LutTexts::kReasonDamaged;
        sheet.Clear();
        return false;
    }
    return true;
}

}  // namespace

bool ReadXlsxWorksheet(const std::filesystem::path& file, Worksheet& sheet, std::string& error) {
    XlsxPackage package;
    if (!package.OpenFile(file)) {
        sheet.Clear();
        error = LutTexts::kReasonNotWorkbook;
        return false;
    }
    return ReadPackage(package, sheet, error);
}

bool ReadXlsxWorksheet(const void* data, size_t size, Worksheet& sheet, std::string& error) {
    XlsxPackage package;
    if (!package.OpenMemory(data, size)) {
        sheet.Clear();
        error = LutTexts::kReasonNotWorkbook;
        return false;
    }
    return ReadPackage(package, sheet, error);
}

}  // namespace velterra
