// Workbook streams put together record by record, as other programs write them: the record kinds our
// own writer never uses (shared formulas, LABEL, MULRK, MULBLANK, STRING after a text result) and
// content the engine does not keep, which must be reported.
#include "engine/formula/printer.h"
#include "engine/xls/bytes.h"
#include "engine/xls/record_types.h"
#include "engine/xls/record_writer.h"
#include "engine/xls/style_records.h"
#include "engine/xls/unicode_string.h"
#include "engine/xls/xls.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace engine;
using namespace engine::xls;

namespace {

class StreamBuilder {
public:
    StreamBuilder() : w_(out_) {}

    void bof(uint16_t kind) {
        std::vector<uint8_t> b(16, 0);
        patchU16(b, 0, rec::Biff8Version);
        patchU16(b, 2, kind);
        w_.record(rec::Bof, b);
    }
    void record(uint16_t type, const std::vector<uint8_t>& body) { w_.record(type, body); }
    size_t boundSheet(const std::u16string& name) {
        std::vector<uint8_t> b(6, 0);
        putUnicode8(b, name);
        size_t at = out_.size() + 4;
        w_.record(rec::BoundSheet, b);
        return at;
    }
    void sheetStartsHere(size_t boundSheetAt) { patchU32(out_, boundSheetAt, uint32_t(out_.size())); }
    static std::vector<uint8_t> cell(int row, int col, uint16_t xf = 15) {
        std::vector<uint8_t> b;
        putU16(b, uint16_t(row));
        putU16(b, uint16_t(col));
        putU16(b, xf);
        return b;
    }
    // FORMULA with a cached number, or with a non-number result (type 0 text, 1 boolean, 3 empty text).
    void formula(int row, int col, const std::vector<uint8_t>& tokens, double number) {
        auto b = cell(row, col);
        putF64(b, number);
        finishFormula(b, tokens);
    }
    void formulaSpecial(int row, int col, const std::vector<uint8_t>& tokens, uint8_t type,
                        uint8_t value = 0) {
        auto b = cell(row, col);
        b.insert(b.end(), {type, 0, value, 0, 0, 0, 0xFF, 0xFF});
        finishFormula(b, tokens);
    }
    std::vector<uint8_t> bytes() const { return out_; }

private:
    void finishFormula(std::vector<uint8_t>& b, const std::vector<uint8_t>& tokens) {
        putU16(b, 0);
        putU32(b, 0);
        putU16(b, uint16_t(tokens.size()));
        b.insert(b.end(), tokens.begin(), tokens.end());
        w_.record(rec::Formula, b);
    }

    std::vector<uint8_t> out_;
    RecordWriter w_;
};

std::vector<uint8_t> foreignWorkbook() {
    StreamBuilder s;
    s.bof(rec::BofGlobals);
    s.record(rec::Font, {200, 0, 0, 0, 0xFF, 0x7F, 0x90, 1, 0, 0, 0, 0, 0, 0, 5, 0, 'A', 'r', 'i', 'a', 'l'});
    size_t first = s.boundSheet(u"Data");
    size_t second = s.boundSheet(u"Other");
    s.record(rec::SupBook, {2, 0, 1, 4});
    s.record(rec::ExternSheet, {1, 0, 0, 0, 1, 0, 1, 0});
    {
        std::vector<uint8_t> name = {0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'R', 'a', 't', 'e'};
        s.record(rec::Name, name);
    }
    s.record(rec::Eof, {});

    s.sheetStartsHere(first);
    s.bof(rec::BofWorksheet);
    {
        auto b = StreamBuilder::cell(0, 0);
        putUnicode16(b, u"标签");
        s.record(rec::Label, b);
    }
    {
        // MULRK: B1 = 1.23 (hundredths), C1 = -7 (integer).
        std::vector<uint8_t> b;
        putU16(b, 0);
        putU16(b, 1);
        putU16(b, 15);
        putU32(b, (123u << 2) | 3);
        putU16(b, 15);
        putU32(b, (uint32_t(-7) << 2) | 2);
        putU16(b, 2);
        s.record(rec::MulRk, b);
    }
    s.record(rec::MulBlank, {1, 0, 0, 0, 15, 0, 15, 0, 1, 0});
    // A shared formula over A3:A4: "=B1*2" with B1 one row and one column off from A2... relative.
    std::vector<uint8_t> exp = {0x01, 2, 0, 0, 0};
    s.formula(2, 0, exp, 0);
    {
        std::vector<uint8_t> b = {2, 0, 3, 0, 0, 0, 0, 1};
        std::vector<uint8_t> tokens = {0x4C, 0xFE, 0xFF, 0x01, 0xC0, 0x1E, 2, 0, 0x05}; // tRefN(-2,+1) * 2
        putU16(b, uint16_t(tokens.size()));
        b.insert(b.end(), tokens.begin(), tokens.end());
        s.record(rec::ShrFmla, b);
    }
    s.formula(3, 0, exp, 0);
    // A text result: "=\"ab\"&\"c\"" with its STRING record, then an empty-text result.
    s.formulaSpecial(4, 0, {0x17, 2, 0, 'a', 'b', 0x17, 1, 0, 'c', 0x08}, 0);
    {
        std::vector<uint8_t> b;
        putUnicode16(b, u"abc");
        s.record(rec::String, b);
    }
    s.formulaSpecial(5, 0, {0x17, 0, 0}, 3);
    // A reference to the other sheet through EXTERNSHEET entry 1.
    s.formula(6, 0, {0x5A, 0, 0, 0, 0, 0, 0xC0}, 42);
    // What the engine cannot hold: a defined name in a formula keeps its last result.
    s.formula(7, 0, {0x43, 1, 0, 0, 0}, 0.25);
    s.record(0x001C, {0, 0, 0, 0, 0, 0, 1, 0}); // a comment
    s.record(rec::Eof, {});

    s.sheetStartsHere(second);
    s.bof(rec::BofWorksheet);
    {
        auto b = StreamBuilder::cell(0, 0);
        putF64(b, 42);
        s.record(rec::Number, b);
    }
    s.record(rec::Eof, {});
    return s.bytes();
}

bool has(const std::vector<std::string>& list, const std::string& what) {
    return std::any_of(list.begin(), list.end(),
                       [&](const std::string& s) { return s.find(what) != std::string::npos; });
}

} // namespace

TEST(ForeignFile, RecordKindsOtherWritersUseAreRead) {
    auto result = readWorkbookStream(foreignWorkbook(), "foreign.xls");
    const Sheet& s = result.workbook->sheet(0);
    EXPECT_EQ(s.value(0, 0), Value::text(u"标签"));
    EXPECT_EQ(s.value(0, 1), Value::number(1.23));
    EXPECT_EQ(s.value(0, 2), Value::number(-7));
    EXPECT_EQ(s.formulaText(2, 0), u"=B1*2");
    EXPECT_EQ(s.formulaText(3, 0), u"=B2*2");
    EXPECT_EQ(s.value(2, 0), Value::number(2.46));
    EXPECT_EQ(s.formulaText(4, 0), u"=\"ab\"&\"c\"");
    EXPECT_EQ(s.value(5, 0), Value::text(u""));
    EXPECT_EQ(s.formulaText(6, 0), u"=Other!A1");
    EXPECT_EQ(s.value(6, 0), Value::number(42));
}

TEST(ForeignFile, WhatIsNotKeptIsReportedAndItsLastResultKept) {
    auto result = readWorkbookStream(foreignWorkbook(), "foreign.xls");
    const Sheet& s = result.workbook->sheet(0);
    EXPECT_FALSE(s.hasFormula(7, 0));
    EXPECT_EQ(s.value(7, 0), Value::number(0.25));
    EXPECT_TRUE(has(result.dropped, "comments"));
    EXPECT_TRUE(has(result.dropped, "defined names"));
    EXPECT_TRUE(has(result.dropped, "formulas this program cannot read"));
}

// Names and references count the sheets as the workbook lists them, chart sheets among them, though
// only worksheets are kept.
TEST(ForeignFile, SheetsAfterAChartSheetKeepTheirNamesAndTheReferencesToThem) {
    StreamBuilder s;
    s.bof(rec::BofGlobals);
    s.record(rec::Font, {200, 0, 0, 0, 0xFF, 0x7F, 0x90, 1, 0, 0, 0, 0, 0, 0, 5, 0, 'A', 'r', 'i', 'a', 'l'});
    size_t data = s.boundSheet(u"Data");
    {
        std::vector<uint8_t> chart = {0, 0, 0, 0, 0, 2}; // a chart sheet, second in the list
        putUnicode8(chart, u"Chart1");
        s.record(rec::BoundSheet, chart);
    }
    size_t totals = s.boundSheet(u"Totals");
    s.record(rec::SupBook, {3, 0, 1, 4});
    s.record(rec::ExternSheet, {1, 0, 0, 0, 2, 0, 2, 0}); // the third sheet listed: Totals
    // "Rate", local to the third sheet listed: tRef3d to $B$1 through that EXTERNSHEET entry.
    s.record(rec::Name,
             {0, 0, 0, 4, 7, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 'R', 'a', 't', 'e', 0x3A, 0, 0, 0, 0, 1, 0});
    s.record(rec::Eof, {});

    s.sheetStartsHere(data);
    s.bof(rec::BofWorksheet);
    s.formula(0, 0, {0x5A, 0, 0, 0, 0, 1, 0xC0}, 5); // =Totals!B1
    s.record(rec::Eof, {});
    s.sheetStartsHere(totals);
    s.bof(rec::BofWorksheet);
    {
        auto b = StreamBuilder::cell(0, 1);
        putF64(b, 5);
        s.record(rec::Number, b);
    }
    s.record(rec::Eof, {});

    auto result = readWorkbookStream(s.bytes(), "chart.xls");
    const Workbook& book = *result.workbook;
    ASSERT_EQ(book.sheetCount(), 2u);
    EXPECT_EQ(book.sheet(0).formulaText(0, 0), u"=Totals!B1");
    EXPECT_EQ(book.sheet(0).value(0, 0), Value::number(5));
    const DefinedName* rate = book.names().find(u"Rate", book.sheet(1).id());
    ASSERT_NE(rate, nullptr);
    EXPECT_EQ(rate->sheet, std::optional<SheetId>(book.sheet(1).id()));
    EXPECT_EQ(formula::print(rate->definition, book.sheetNames()), u"Totals!$B$1");
    EXPECT_EQ(result.dropped, (std::vector<std::string>{"chart sheets and macro sheets"}));
}

TEST(ForeignFile, ARunOfFormattedBlankCellsEndsAtItsLastColumn) {
    StreamBuilder s;
    s.bof(rec::BofGlobals);
    s.record(rec::Font, {200, 0, 0, 0, 0xFF, 0x7F, 0x90, 1, 0, 0, 0, 0, 0, 0, 5, 0, 'A', 'r', 'i', 'a', 'l'});
    // XF records as the published layout has them (20 bytes): 0 to 15 plain, 16 with a solid fill of
    // file colour 41, which is palette colour 34 (file colour 8 is palette colour 1).
    for (int xf = 0; xf <= 16; ++xf) {
        std::vector<uint8_t> b(20, 0);
        b[6] = 0x20; // bottom-aligned
        if (xf == 16) {
            patchU32(b, 14, 1u << 26);               // solid pattern
            patchU16(b, 18, uint16_t(41 | 65 << 7)); // foreground 41, background the window's
        }
        s.record(rec::Xf, b);
    }
    size_t sheet = s.boundSheet(u"Data");
    s.record(rec::Eof, {});
    s.sheetStartsHere(sheet);
    s.bof(rec::BofWorksheet);
    // P2:Q2 in XF 16; the record's last field, column 16, names Q and is no format.
    s.record(rec::MulBlank, {1, 0, 15, 0, 16, 0, 16, 0, 16, 0});
    s.record(rec::Eof, {});
    auto result = readWorkbookStream(s.bytes(), "blanks.xls");
    const Sheet& data = result.workbook->sheet(0);
    EXPECT_EQ(data.format(1, 14).fillColorIndex, 0);
    EXPECT_EQ(data.format(1, 15).fillColorIndex, 34);
    EXPECT_EQ(data.format(1, 16).fillColorIndex, 34);
    EXPECT_EQ(data.format(1, 17).fillColorIndex, 0);
}

TEST(ForeignFile, FloodsOfRangesAreRefusedRatherThanChecked) {
    StreamBuilder s;
    s.bof(rec::BofGlobals);
    size_t sheet = s.boundSheet(u"Data");
    s.record(rec::Eof, {});
    s.sheetStartsHere(sheet);
    s.bof(rec::BofWorksheet);
    for (int k = 0; k < 17; ++k) {
        std::vector<uint8_t> b;
        putU16(b, 1000);
        for (int i = 0; i < 1000; ++i) {
            int row = (k * 1000 + i) * 2 % 65000;
            putU16(b, uint16_t(row));
            putU16(b, uint16_t(row + 1));
            putU16(b, uint16_t(k));
            putU16(b, uint16_t(k));
        }
        s.record(rec::MergedCells, b);
    }
    s.record(rec::Eof, {});
    try {
        readWorkbookStream(s.bytes(), "flood.xls");
        FAIL();
    } catch (const XlsError& e) {
        EXPECT_NE(std::string(e.what()).find("more merged ranges"), std::string::npos) << e.what();
    }
}

TEST(ForeignFile, ValidationsWrittenCellByCellAreJoined) {
    // One DV record per entry row, as a program calling Validation.Add row by row leaves them.
    StreamBuilder s;
    s.bof(rec::BofGlobals);
    size_t sheet = s.boundSheet(u"Data");
    s.record(rec::Eof, {});
    s.sheetStartsHere(sheet);
    s.bof(rec::BofWorksheet);
    const int rows = 20000;
    s.record(rec::DVal, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x20, 0x4E, 0, 0});
    for (int r = 0; r < rows; ++r) {
        std::vector<uint8_t> b;
        putU32(b, 0x3 | 0x80 | 0x100 | 0x80000);
        for (int i = 0; i < 4; ++i)
            putUnicode16(b, std::u16string(1, u'\0'));
        std::vector<uint8_t> list = {0x17};
        putUnicode8(list, std::u16string(u"2025\0"
                                         u"2026",
                                         9));
        putU16(b, uint16_t(list.size()));
        putU16(b, 0);
        b.insert(b.end(), list.begin(), list.end());
        putU32(b, 0);
        putU16(b, 1);
        for (int v : {r, r, 0, 0})
            putU16(b, uint16_t(v));
        s.record(rec::Dv, b);
    }
    s.record(rec::Eof, {});
    auto result = readWorkbookStream(s.bytes(), "rows.xls");
    const Sheet& data = result.workbook->sheet(0);
    ASSERT_EQ(data.validations().size(), 1u);
    EXPECT_EQ(data.validations()[0].areas, std::vector<Area>{Area(0, 0, rows - 1, 0)});
    EXPECT_EQ(data.validations()[0].rule.formula1, u"2025,2026");
}

TEST(ForeignFile, NumberFormatsComeFromTheFilesOwnRecordsOrTheBuiltInTable) {
    StreamBuilder s;
    s.bof(rec::BofGlobals);
    std::vector<uint8_t> font;
    putFont(font, FontRecord{});
    s.record(rec::Font, font);
    auto format = [&](uint16_t index, std::u16string_view code) {
        std::vector<uint8_t> b;
        putU16(b, index);
        putUnicode16(b, code);
        s.record(rec::Format, b);
    };
    format(164, u"Standard"); // German writers' General
    format(165, u"0.000");
    format(5, u"\"¥\"#,##0;\"¥\"\\-#,##0"); // a locale's own form of a built-in index
    // XF 0 to 4: the formats 164, 165, 5, then the built-in 14 and 10 that no record spells out.
    for (uint16_t index : {164, 165, 5, 14, 10}) {
        XfRecord x;
        x.format = index;
        std::vector<uint8_t> b;
        putXf(b, x);
        s.record(rec::Xf, b);
    }
    size_t sheet = s.boundSheet(u"Data");
    s.record(rec::Eof, {});
    s.sheetStartsHere(sheet);
    s.bof(rec::BofWorksheet);
    for (uint16_t xf = 0; xf < 5; ++xf) {
        auto b = StreamBuilder::cell(0, xf, xf);
        putF64(b, 45000.5);
        s.record(rec::Number, b);
    }
    s.record(rec::Eof, {});
    auto result = readWorkbookStream(s.bytes(), "formats.xls");
    const Sheet& data = result.workbook->sheet(0);
    EXPECT_EQ(data.format(0, 0).numberFormat, u"");
    EXPECT_EQ(data.format(0, 1).numberFormat, u"0.000");
    EXPECT_EQ(data.format(0, 2).numberFormat, u"\"¥\"#,##0;\"¥\"\\-#,##0");
    EXPECT_EQ(data.format(0, 3).numberFormat, u"yyyy/m/d");
    EXPECT_EQ(data.format(0, 4).numberFormat, u"0.00%");
}

// A formula calling what the engine does not compute shows, and saves, the result the file stored
// rather than #NAME?; every other formula's result is the engine's own.
TEST(ForeignFile, FormulasTheEngineDoesNotComputeKeepTheResultsTheFileStored) {
    StreamBuilder s;
    s.bof(rec::BofGlobals);
    std::vector<uint8_t> font;
    putFont(font, FontRecord{});
    s.record(rec::Font, font);
    size_t sheet = s.boundSheet(u"Data");
    s.record(rec::Eof, {});
    s.sheetStartsHere(sheet);
    s.bof(rec::BofWorksheet);
    for (int row : {0, 1}) {
        auto b = StreamBuilder::cell(row, 1);
        putF64(b, 3 + row);
        s.record(rec::Number, b);
    }
    std::vector<uint8_t> ipmt = {0x1F};
    putF64(ipmt, 0.1);
    ipmt.insert(ipmt.end(), {0x1E, 1, 0, 0x1E, 2, 0, 0x1E, 100, 0, 0x42, 4, 167, 0});
    s.formula(0, 0, ipmt, 12.5);
    // MIRR(B1:B2,0.1,0.1)&"x" with a text result in its STRING record.
    std::vector<uint8_t> mirr = {0x25, 0, 0, 1, 0, 1, 0xC0, 1, 0xC0};
    for (int i = 0; i < 2; ++i) {
        mirr.push_back(0x1F);
        putF64(mirr, 0.1);
    }
    mirr.insert(mirr.end(), {0x41, 61, 0, 0x17, 1, 0, 'x', 0x08});
    s.formulaSpecial(1, 0, mirr, 0);
    {
        std::vector<uint8_t> b;
        putUnicode16(b, u"kept");
        s.record(rec::String, b);
    }
    s.formula(2, 0, {0x44, 0, 0, 1, 0xC0, 0x1E, 1, 0, 0x03}, 99); // B1+1, stored stale
    // IPMT shared by A4:A5, each cell with its own stored result.
    std::vector<uint8_t> exp = {0x01, 3, 0, 0, 0};
    s.formula(3, 0, exp, 7);
    {
        std::vector<uint8_t> b = {3, 0, 4, 0, 0, 0, 0, 2};
        putU16(b, uint16_t(ipmt.size()));
        b.insert(b.end(), ipmt.begin(), ipmt.end());
        s.record(rec::ShrFmla, b);
    }
    s.formula(4, 0, exp, 8);
    s.record(rec::Eof, {});

    auto check = [](const Sheet& data) {
        EXPECT_EQ(data.formulaText(0, 0), u"=IPMT(0.1,1,2,100)");
        EXPECT_EQ(data.value(0, 0), Value::number(12.5));
        EXPECT_EQ(data.formulaText(1, 0), u"=MIRR(B1:B2,0.1,0.1)&\"x\"");
        EXPECT_EQ(data.value(1, 0), Value::text(u"kept"));
        EXPECT_EQ(data.formulaText(2, 0), u"=B1+1");
        EXPECT_EQ(data.value(2, 0), Value::number(4));
        EXPECT_EQ(data.formulaText(4, 0), u"=IPMT(0.1,1,2,100)");
        EXPECT_EQ(data.value(3, 0), Value::number(7));
        EXPECT_EQ(data.value(4, 0), Value::number(8));
    };
    auto result = readWorkbookStream(s.bytes(), "results.xls");
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    check(result.workbook->sheet(0));
    auto again = readWorkbook(workbookBytes(*result.workbook), "again.xls");
    check(again.workbook->sheet(0));

    // The stored result stays when the cells the formula reads change; a formula the engine computes
    // follows them, and one typed anew has no stored result.
    Sheet& data = again.workbook->sheet(0);
    data.setValue(0, 1, Value::number(10));
    EXPECT_EQ(data.value(0, 0), Value::number(12.5));
    EXPECT_EQ(data.value(2, 0), Value::number(11));
    data.setFormula(0, 0, u"=IPMT(0.1,1,2,100)");
    EXPECT_EQ(data.value(0, 0), Value::error(ErrorCode::Name));
}

// Excel's "labels in formulas" keep the reference they stand for; a label standing for nothing keeps
// the cell's last value and says so.
TEST(ForeignFile, LabelReferencesReadAsTheReferencesTheyStandFor) {
    StreamBuilder s;
    s.bof(rec::BofGlobals);
    size_t sheet = s.boundSheet(u"Data");
    s.record(rec::Eof, {});
    s.sheetStartsHere(sheet);
    s.bof(rec::BofWorksheet);
    for (int row : {1, 2}) {
        auto b = StreamBuilder::cell(row, 1);
        putF64(b, row * 10);
        s.record(rec::Number, b);
    }
    s.formula(0, 0, {0x18, 0x0A, 0, 0, 1, 0xC0, 0x25, 1, 0, 2, 0, 1, 0xC0, 1, 0xC0, 0x19, 0x10, 0, 0}, 30);
    s.formula(1, 0, {0x18, 0x0A, 0, 0, 1, 0xC0, 0x1E, 5, 0}, 5);
    s.record(rec::Eof, {});
    auto result = readWorkbookStream(s.bytes(), "labels.xls");
    const Sheet& data = result.workbook->sheet(0);
    EXPECT_EQ(data.formulaText(0, 0), u"=SUM(B2:B3)");
    EXPECT_EQ(data.value(0, 0), Value::number(30));
    EXPECT_FALSE(data.hasFormula(1, 0));
    EXPECT_EQ(data.value(1, 0), Value::number(5));
    EXPECT_TRUE(has(result.dropped, "formulas this program cannot read"));
}

// Settings records as a careless writer may leave them: printer fields marked as unset, a header whose
// text is cut short, a margin that is not a number. The sheet opens with what can be read.
TEST(ForeignFile, DamagedOrUnsetPageSettingsLeaveTheDefaults) {
    StreamBuilder s;
    s.bof(rec::BofGlobals);
    size_t first = s.boundSheet(u"Data");
    s.record(rec::Eof, {});
    s.sheetStartsHere(first);
    s.bof(rec::BofWorksheet);
    {
        // Paper 0, scale 0 and no copies, marked as not set (0x04), landscape (portrait bit clear).
        std::vector<uint8_t> b;
        for (uint16_t v : {0, 0, 1, 1, 1, 0x04, 0, 0})
            putU16(b, v);
        putF64(b, 0.25);
        putF64(b, std::nan(""));
        putU16(b, 0);
        s.record(0x00A1, b);
    }
    s.record(rec::Header, {10, 0, 0, 'a', 'b'});
    {
        std::vector<uint8_t> b;
        putF64(b, -3);
        s.record(rec::LeftMargin, b);
    }
    s.record(rec::Protect, {1, 0});
    s.record(rec::Eof, {});

    auto result = readWorkbookStream(s.bytes(), "careless.xls");
    const PageSetup& p = result.workbook->sheet(0).pageSetup();
    PageSetup d;
    EXPECT_FALSE(p.printerSettingsKnown);
    EXPECT_EQ(p.paperSize, d.paperSize);
    EXPECT_EQ(p.scale, d.scale);
    EXPECT_EQ(p.copies, d.copies);
    EXPECT_FALSE(p.landscape);
    EXPECT_EQ(p.headerMargin, 0.25);
    EXPECT_EQ(p.footerMargin, d.footerMargin);
    EXPECT_EQ(p.leftMargin, d.leftMargin);
    EXPECT_EQ(p.header, u"");
    EXPECT_TRUE(result.workbook->sheet(0).protection().contents);
}
