// The .xlsx reader on packages built by hand: the ways spreadsheet programs store cells, and
// the ways a file can be broken.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <zip.h>

#include <fstream>
#include <iterator>
#include <map>

#include "WorkbookTestSupport.h"
#include "lut/LutTexts.h"
#include "lut/XlsxPackage.h"
#include "lut/XlsxReader.h"

using namespace velterra;

using ::testing::IsEmpty;

namespace {

const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

std::string SheetXml(const std::string& sheetData) {
    return std::string("<worksheet xmlns=\"") + kMain + "\"><sheetData>" + sheetData +
           "</sheetData></worksheet>";
}

// Parts of a minimal workbook: one worksheet, a shared string table.
std::map<std::string, std::string> Package(const std::string& sheetData,
                                           const std::string& sharedStrings = "") {
    std::map<std::string, std::string> parts;
    parts["_rels/.rels"] = std::string("<Relationships><Relationship Id=\"rId1\" Type=\"") + kRel +
                           "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    parts["xl/workbook.xml"] = std::string("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"" + kRel +
                               "\"><sheets><sheet name=\"S\" r:id=\"rId1\"/></sheets>" +
                               "</workbook>";
    parts["xl/_rels/workbook.xml.rels"] =
        std::string("<Relationships><Relationship Id=\"rId1\" Type=\"") + kRel +
        "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId9\" Type=\"" + kRel +
        "/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>";
    parts["xl/worksheets/sheet1.xml"] = SheetXml(sheetData);
    parts["xl/sharedStrings.xml"] =
        std::string("<sst xmlns=\"") + kMain + "\">" + sharedStrings + "</sst>";
    return parts;
}

std::string Zip(const std::map<std::string, std::string>& parts) {
    ScratchDir dir;
    auto path = dir / "package.zip";
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    EXPECT_NE(archive, nullptr);
    for (const auto& [name, content] : parts) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        EXPECT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
    }
    EXPECT_EQ(zip_close(archive), 0);
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Loaded {
    bool ok;
    std::string error;
    Worksheet sheet;
};

Loaded Load(const std::string& bytes) {
    Loaded loaded;
    loaded.ok = ReadXlsxWorksheet(bytes.data(), bytes.size(), loaded.sheet, loaded.error);
    return loaded;
}

Worksheet::Cell Text(const char* text) {
    return std::string(text);
}

TEST(XlsxReaderCells, EveryWayOfStoringACellReadsAsNumberTextOrEmpty) {
    auto loaded = Load(Zip(Package(
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"b\"><v>1</v></c>"
        "<c r=\"C1\" t=\"s\"><v>2</v></c></row>"
        "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>1</v></c><c r=\"B2\" t=\"e\"><v>#DIV/0!</v></c>"
        "<c r=\"C2\" t=\"s\"><v>3</v></c></row>"
        "<row r=\"3\"><c r=\"A3\"><v>1.2E1</v></c><c r=\"B3\" t=\"str\"><f>A1</f><v>result</v></c>"
        "</row>"
        "<row r=\"4\"><c r=\"A4\" t=\"inlineStr\"><is><t>in </t><r><t>line</t></r></is></c>"
        "<c r=\"B4\" t=\"n\"><f>1+1</f><v>2</v></c></row>"
        "<row r=\"5\"><c r=\"A5\" s=\"3\"/><c r=\"B5\"><f>1+1</f></c>"
        "<c r=\"C5\" t=\"n\"><v> -0.25 </v></c></row>",
        "<si><t>Tavrin NX LUT</t></si>"
        "<si><r><t>Mo</t></r><r><rPr/><t>no</t></r><rPh><t>phonetic</t></rPh></si>"
        "<si><t>a_x000D_b</t></si><si><t>_x005F_x0041_</t></si>")));
    ASSERT_TRUE(loaded.ok) << loaded.error;
    const Worksheet& s = loaded.sheet;
    EXPECT_EQ(s.At("A1"), Text("Tavrin NX LUT"));
    EXPECT_EQ(s.At("A2"), Text("Mono"));
    EXPECT_EQ(s.At("C1"), Text("a\rb"));
    EXPECT_EQ(s.At("C2"), Text("_x0041_"));
    EXPECT_EQ(s.At("A3"), Worksheet::Cell(12.0));
    EXPECT_EQ(s.At("A4"), Text("in line"));
    EXPECT_EQ(s.At("B1"), Text("TRUE"));
    EXPECT_EQ(s.At("B2"), Text("#DIV/0!"));
    EXPECT_EQ(s.At("B3"), Text("result"));
    EXPECT_EQ(s.At("B4"), Worksheet::Cell(2.0));
    EXPECT_EQ(s.At("C5"), Worksheet::Cell(-0.25));
    EXPECT_EQ(s.CellCount(), 11u);  // A5 (style only) and B5 (formula never computed) are empty
}

TEST(XlsxReaderCells, CellsAndRowsWithoutReferencesFollowTheirPredecessors) {
    auto loaded =
        Load(Zip(Package("<row><c><v>1</v></c><c><v>2</v></c></row>"
                         "<row r=\"5\"><c r=\"C5\"><v>3</v></c><c><v>4</v></c></row>"
                         "<row><c><v>5</v></c></row>")));
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(loaded.sheet.Number("A1"), 1.0);
    EXPECT_EQ(loaded.sheet.Number("B1"), 2.0);
    EXPECT_EQ(loaded.sheet.Number("C5"), 3.0);
    EXPECT_EQ(loaded.sheet.Number("D5"), 4.0);
    EXPECT_EQ(loaded.sheet.Number("A6"), 5.0);
}

TEST(XlsxReaderSheets, TakesTheFirstWorksheetInTabOrderSkippingChartSheets) {
    auto parts = Package("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
    parts["xl/workbook.xml"] = std::string("<workbook xmlns:r=\"") + kRel +
                               "\"><sheets><sheet r:id=\"rId3\"/><sheet r:id=\"rId2\"/>"
                               "<sheet r:id=\"rId1\"/></sheets></workbook>";
    parts["xl/_rels/workbook.xml.rels"] =
        std::string("<Relationships>") + "<Relationship Id=\"rId1\" Type=\"" + kRel +
        "/worksheet\" Target=\"worksheets/sheet1.xml\"/>" + "<Relationship Id=\"rId2\" Type=\"" +
        kRel + "/worksheet\" Target=\"/xl/worksheets/../worksheets/sheet2.xml\"/>" +
        "<Relationship Id=\"rId3\" Type=\"" + kRel +
        "/chartsheet\" Target=\"chartsheets/sheet1.xml\"/></Relationships>";
    parts["xl/worksheets/sheet2.xml"] = SheetXml("<row r=\"1\"><c r=\"A1\"><v>2</v></c></row>");
    auto loaded = Load(Zip(parts));
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(loaded.sheet.Number("A1"), 2.0);
}

TEST(XlsxReaderSheets, PrefixedElementsAndAMissingPackageRelationshipStillRead) {
    auto parts = Package("");
    parts.erase("_rels/.rels");
    parts["xl/worksheets/sheet1.xml"] =
        std::string("<x:worksheet xmlns:x=\"") + kMain +
        "\"><x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>hi</x:t>"
        "</x:is></x:c></x:row></x:sheetData></x:worksheet>";
    auto loaded = Load(Zip(parts));
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(loaded.sheet.At("A1"), Text("hi"));
}

TEST(XlsxReaderBroken, DamagedContentIsRefusedWithAReason) {
    auto refused = [](const std::map<std::string, std::string>& parts) {
        auto loaded = Load(Zip(parts));
        EXPECT_EQ(loaded.sheet.CellCount(), 0u);
        return loaded.ok ? std::string("accepted") : loaded.error;
    };
    const std::string damaged = LutTexts::kReasonDamaged;
    EXPECT_EQ(refused(Package("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>5</v></c></row>")), damaged);
    EXPECT_EQ(refused(Package("<row r=\"1\"><c r=\"A1\"><v>12abc</v></c></row>")), damaged);
    EXPECT_EQ(refused(Package("<row r=\"1\"><c r=\"A1\" t=\"zz\"><v>1</v></c></row>")), damaged);
    EXPECT_EQ(refused(Package("<row r=\"1\"><c r=\"A0\"><v>1</v></c></row>")), damaged);
    EXPECT_EQ(refused(Package("<row r=\"0\"><c><v>1</v></c></row>")), damaged);
    EXPECT_EQ(refused(Package("<row r=\"1\"><c r=\"A1\"><v>1</v></row>")), damaged);

    auto entity = Package("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>&e;</t></is></c></row>");
    entity["xl/worksheets/sheet1.xml"] =
        "<!DOCTYPE w [<!ENTITY e \"boom\">]>" + entity["xl/worksheets/sheet1.xml"];
    EXPECT_EQ(refused(entity), damaged);

    auto noWorkbook = Package("");
    noWorkbook.erase("xl/workbook.xml");
    EXPECT_EQ(refused(noWorkbook), LutTexts::kReasonNotWorkbook);
    auto noSheets = Package("");
    noSheets["xl/workbook.xml"] = "<workbook><sheets/></workbook>";
    EXPECT_EQ(refused(noSheets), LutTexts::kReasonNoWorksheet);
    auto sheetPartMissing = Package("");
    sheetPartMissing.erase("xl/worksheets/sheet1.xml");
    EXPECT_EQ(refused(sheetPartMissing), LutTexts::kReasonNoWorksheet);
}

TEST(XlsxReaderBroken, CorruptedZipDataIsRefused) {
    std::string bytes =
        Zip(Package("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>" + std::string(4000, ' ')));
    auto at = bytes.find("xl/worksheets/sheet1.xml");  // local header name, data follows
    ASSERT_NE(at, std::string::npos);
    for (size_t i = at + 40; i < at + 60; ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    EXPECT_FALSE(Load(bytes).ok);
    EXPECT_FALSE(Load(bytes.substr(0, bytes.size() / 2)).ok);
    EXPECT_EQ(Load("").error, LutTexts::kReasonNotWorkbook);
    EXPECT_EQ(Load("just some text").error, LutTexts::kReasonNotWorkbook);
}

TEST(XlsxReaderBroken, OversizedSheetsAreRefusedBeforeTheyExhaustMemory) {
    std::string row = "<row>";
    for (int i = 0; i < 100; ++i) row += "<c><v>1</v></c>";
    row += "</row>";
    std::string cells;
    for (int i = 0; i < 10; ++i) cells += row;
    auto bytes = Zip(Package(cells, "<si><t>a</t></si><si><t>b</t></si>"));
    Worksheet sheet;
    std::string error;
    sheet.SetCellLimit(1000);
    EXPECT_TRUE(ReadXlsxWorksheet(bytes.data(), bytes.size(), sheet, error)) << error;
    sheet.SetCellLimit(999);
    EXPECT_FALSE(ReadXlsxWorksheet(bytes.data(), bytes.size(), sheet, error));
    EXPECT_EQ(error, LutTexts::kReasonTooLarge);
    EXPECT_EQ(sheet.CellCount(), 0u);
    sheet.SetCellLimit(1);  // the shared strings count against the limit too
    EXPECT_FALSE(ReadXlsxWorksheet(bytes.data(), bytes.size(), sheet, error));
    EXPECT_EQ(error, LutTexts::kReasonTooLarge);

    // Highly compressible filler: the part size cap stops the inflation.
    auto padded = Load(Zip(Package(std::string(XlsxPackage::kMaxPartBytes + 1024, ' '))));
    EXPECT_FALSE(padded.ok);
    EXPECT_EQ(padded.error, LutTexts::kReasonTooLarge);
}

TEST(XlsxPackagePaths, TargetsResolveAgainstTheSourcePart) {
    EXPECT_EQ(XlsxPackage::ResolveTarget("xl/workbook.xml", "worksheets/sheet1.xml"),
              "xl/worksheets/sheet1.xml");
    EXPECT_EQ(XlsxPackage::ResolveTarget("xl/workbook.xml", "/xl/worksheets/sheet1.xml"),
              "xl/worksheets/sheet1.xml");
    EXPECT_EQ(XlsxPackage::ResolveTarget("xl/workbook.xml", "../customXml/item1.xml"),
              "customXml/item1.xml");
    EXPECT_EQ(XlsxPackage::ResolveTarget("xl/workbook.xml", "./a/../b.xml"), "xl/b.xml");
    EXPECT_EQ(XlsxPackage::ResolveTarget("", "xl/workbook.xml"), "xl/workbook.xml");
    EXPECT_EQ(XlsxPackage::ResolveTarget("xl/workbook.xml", "../../../../etc/passwd"),
              "etc/passwd");
}

TEST(WorksheetCellNames, ParseAndFormatAgree) {
    uint32_t row = 0, column = 0;
    ASSERT_TRUE(Worksheet::ParseCellName("A1", row, column));
    EXPECT_EQ(row, 1u);
    EXPECT_EQ(column, 0u);
    ASSERT_TRUE(Worksheet::ParseCellName("XFD1048576", row, column));
    EXPECT_EQ(row, 1048576u);
    EXPECT_EQ(column, 16383u);
    for (const char* bad : {"", "A", "1", "A0", "a1", "A01", "1A", "AAAA1", "XFE1", "A1048577",
                            "A1 ", "A-1", "A99999999999"})
        EXPECT_FALSE(Worksheet::ParseCellName(bad, row, column)) << bad;
    for (uint32_t c : {0u, 25u, 26u, 701u, 702u, 16383u}) {
        ASSERT_TRUE(Worksheet::ParseCellName(Worksheet::CellName(7, c), row, column));
        EXPECT_EQ(column, c);
    }
    EXPECT_EQ(Worksheet::CellName(3, 26), "AA3");
}

}  // namespace
