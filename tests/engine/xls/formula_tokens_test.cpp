#include "engine/formula/parser.h"
#include "engine/formula/printer.h"
#include "engine/model/workbook.h"
#include "engine/xls/error.h"
#include "engine/xls/formula_tokens.h"
#include "engine/xls/ptg.h"
#include "platform/text/utf.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace engine::xls;
namespace formula = engine::formula;

namespace {

// Sheet ids 0 and 1 are the first two EXTERNSHEET entries; id 7 ("Gone") is a sheet removed since.
FormulaEncoder encoder() {
    FormulaEncoder e;
    e.sheetIndex = [](engine::formula::SheetId id) -> std::optional<uint16_t> {
        if (id <= 1)
            return id;
        return std::nullopt;
    };
    e.addInFunction = [](const std::u16string&) {
        return std::pair<uint16_t, uint16_t>{2, 1};
    };
    return e;
}

TokenContext context() {
    TokenContext c;
    c.externSheets = {TokenContext::Sheet{u"征订登记", 0}, TokenContext::Sheet{u"Sheet2", 1}, std::nullopt};
    c.externNames = {{}, {}, {u"MYFUNC"}};
    return c;
}

// The sheet names of context(), and a sheet "Gone" (id 7) that formulas may name but that is no more.
formula::SheetNames names() {
    formula::SheetNames n;
    n.find = [](std::u16string_view name) -> std::optional<formula::SheetId> {
        if (name == u"Gone")
            return 7;
        for (const auto& s : context().externSheets)
            if (s && s->name == name)
                return s->id;
        return std::nullopt;
    };
    n.name = [](formula::SheetId id) -> std::optional<std::u16string> {
        for (const auto& s : context().externSheets)
            if (s && s->id == id)
                return s->name;
        return std::nullopt;
    };
    return n;
}

std::vector<uint8_t> encode(const std::u16string& text, OperandClass cls = OperandClass::Value) {
    std::vector<uint8_t> out;
    encoder().encode(formula::parse(text, names()), out, cls);
    return out;
}

formula::Program decode(std::span<const uint8_t> tokens, int row = 0, int col = 0) {
    formula::Program p;
    decodeProgram(tokens, context(), row, col, p);
    return p;
}

std::u16string decodedText(std::span<const uint8_t> tokens, int row = 0, int col = 0) {
    return formula::print(decode(tokens, row, col), names());
}

std::u16string roundTrip(const std::u16string& text) {
    return decodedText(encode(text));
}

// Tokens compared by what their kind gives meaning to (padding inside the payload means nothing).
bool sameToken(const formula::Token& x, const formula::Token& y) {
    using K = formula::TokenKind;
    if (x.kind != y.kind || x.flags != y.flags || x.sheet != y.sheet)
        return false;
    const auto &a = x.payload, &b = y.payload;
    switch (x.kind) {
    case K::Number:
        return a.number == b.number;
    case K::Text:
        return a.length == b.length;
    case K::Chars:
        return std::equal(a.chars, a.chars + 4, b.chars);
    case K::Boolean:
    case K::Error:
    case K::Unary:
    case K::Binary:
        return a.code == b.code;
    case K::Ref:
    case K::Area:
        return a.area.top == b.area.top && a.area.bottom == b.area.bottom && a.area.left == b.area.left &&
               a.area.right == b.area.right;
    case K::Function:
    case K::Name:
        return a.call.id == b.call.id && a.call.argc == b.call.argc;
    case K::Missing:
    case K::RefError:
    case K::Paren:
        return true;
    case K::Array:
        return a.array.rows == b.array.rows && a.array.columns == b.array.columns &&
               a.array.tokens == b.array.tokens;
    }
    return false;
}

bool sameProgram(const formula::Program& a, const formula::Program& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameToken);
}

// Hand-made streams of the tokens Excel writes that encoding a parsed formula never gives, in D5.
struct Stream {
    std::vector<uint8_t> tokens;
    const char16_t* text;
};
const Stream handMade[] = {
    {{0x44, 0, 0, 0, 0xC0, 0x44, 1, 0, 1, 0xC0, 0x11}, u"A1:B2"},                    // tRange of two cells
    {{0x44, 0, 0, 0, 0x00, 0x44, 2, 0, 2, 0x80, 0x11}, u"$A$1:$C3"},                 // ... with "$" parts
    {{0x5A, 1, 0, 0, 0, 0, 0xC0, 0x5A, 1, 0, 1, 0, 1, 0xC0, 0x11}, u"Sheet2!A1:B2"}, // ... on another sheet
    {{0x2A, 0, 0, 0, 0, 0x3D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x03}, u"#REF!+#REF!"},  // tRefErr, tAreaErr3d
    {{0x2B, 0, 0, 0, 0, 0, 0, 0, 0, 0x3C, 0, 0, 0, 0, 0, 0, 0x05}, u"#REF!*#REF!"},  // tAreaErr, tRefErr3d
    {{0x29, 5, 0, 0x24, 0, 0, 0, 0xC0}, u"A1"},                                      // tMemFunc
    {{0x26, 0, 0, 0, 0, 9, 0, 0x25, 0, 0, 1, 0, 0, 0xC0, 1, 0xC0}, u"A1:B2"},        // tMemArea
    {{0x2D, 0, 0, 1, 0, 0xFF, 0xC0, 0, 0xC0, 0x19, 0x10, 0, 0}, u"SUM(C5:D6)"},      // tAreaN, tAttrSum
    {{0x1E, 1, 0, 0x19, 0x04, 1, 0,    4,    0, 9, 0,    0x1E, 2,   0, 0x19,
      0x08, 7, 0, 0x1E, 3,    0, 0x19, 0x08, 3, 0, 0x42, 3,    100, 0},
     u"CHOOSE(1,2,3)"},                             // tAttrChoose; a function kept by name
    {{0x19, 0x01, 0, 0, 0x41, 221, 0}, u"TODAY()"}, // tAttrVolatile
    {{0x1D, 1, 0x12, 0x1C, 0x2A, 0x16, 0x42, 3, 1, 0}, u"IF(+TRUE,#N/A,)"}, // tBool, tUplus, tErr, tMissArg
    {{0x1F, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 0x15, 0x14}, u"(1.5)%"},          // tNum, tParen, tPercent
    {{0x39, 2, 0, 1, 0, 0, 0}, u"MYFUNC"},                                  // tNameX alone: an unknown name
    {{0x39, 2, 0, 1, 0, 0, 0, 0x1E, 1, 0, 0x42, 2, 0xFF, 0}, u"MYFUNC(1)"}, // ... called as an add-in
    // A heading used as a label ("labels in formulas"): the reference after it is the formula's.
    {{0x18, 0x0A, 0, 0, 1, 0xC0, 0x25, 1, 0, 2, 0, 1, 0xC0, 1, 0xC0, 0x19, 0x10, 0, 0}, u"SUM(B2:B3)"},
    {{0x18, 0x02, 0, 0, 0, 0, 0x24, 4, 0, 1, 0x80}, u"$B5"},
};

} // namespace

TEST(FormulaTokens, EveryTokenKindReadsAsExcelShowsIt) {
    for (const Stream& s : handMade)
        EXPECT_EQ(decodedText(s.tokens, 4, 3), s.text);
    // An add-in call needs the function's name as its first operand, nothing computed from it.
    std::vector<uint8_t> computed = {0x39, 2, 0, 1, 0, 0, 0, 0x1E, 1, 0, 0x03, 0x42, 1, 0xFF, 0};
    EXPECT_THROW(decode(computed), UnsupportedFormula);
    std::vector<uint8_t> numbered = {0x1E, 1, 0, 0x1E, 2, 0, 0x42, 2, 0xFF, 0};
    EXPECT_THROW(decode(numbered), UnsupportedFormula);
    // The range operator joins two cells into their area only on one sheet.
    std::vector<uint8_t> sheets = {0x5A, 1, 0, 0, 0, 0, 0xC0, 0x44, 1, 0, 1, 0xC0, 0x11};
    EXPECT_THROW(decode(sheets), UnsupportedFormula);
    // A label standing for no reference, and a pivot table's field name, cannot be kept; a kind of
    // label that does not exist is damage.
    std::vector<uint8_t> bare = {0x18, 0x0A, 0, 0, 1, 0xC0, 0x1E, 1, 0};
    EXPECT_THROW(decode(bare), UnsupportedFormula);
    std::vector<uint8_t> last = {0x1E, 1, 0, 0x18, 0x0A, 0, 0, 1, 0xC0};
    EXPECT_THROW(decode(last), UnsupportedFormula);
    std::vector<uint8_t> pivot = {0x18, 0x1D, 0, 0, 0, 0};
    EXPECT_THROW(decode(pivot), UnsupportedFormula);
    std::vector<uint8_t> unknown = {0x18, 0x55, 0, 0, 0, 0, 0x24, 0, 0, 0, 0xC0};
    EXPECT_THROW(decode(unknown), FormatError);
    std::vector<uint8_t> cut = {0x18, 0x0A, 0, 0};
    EXPECT_THROW(decode(cut), FormatError);
}

// A file may call any name as an add-in, the names of the engine's own functions too: such a call is
// the engine's function where the count of its arguments fits, and otherwise kept by name (#NAME?).
TEST(FormulaTokens, AnAddInCallOfABuiltInNameIsComputedOnlyWithArgumentsItTakes) {
    TokenContext c = context();
    c.externNames[2] = {u"MYFUNC", u"MID", u"len"};
    auto read = [&](std::vector<uint8_t> tokens) {
        formula::Program p;
        decodeProgram(tokens, c, 0, 0, p);
        return p;
    };
    engine::Workbook book;
    engine::Sheet& sheet = book.addSheet(u"Sheet1");
    formula::Program mid = read({0x39, 2, 0, 2, 0, 0, 0, 0x17, 1, 0, u'a', 0x42, 2, 0xFF, 0});
    EXPECT_EQ(formula::print(mid, names()), u"MID(\"a\")");
    sheet.setFormula(0, 0, mid);
    EXPECT_EQ(sheet.value(0, 0), engine::Value::error(engine::ErrorCode::Name));
    formula::Program len = read({0x39, 2, 0, 3, 0, 0, 0, 0x17, 2, 0, u'a', u'b', 0x42, 2, 0xFF, 0});
    EXPECT_EQ(formula::print(len, names()), u"LEN(\"ab\")");
    sheet.setFormula(0, 1, len);
    EXPECT_EQ(sheet.value(0, 1), engine::Value::number(2));
}

// A formula read from a file is the formula its text gives when typed, token for token: read and
// typed formulas follow inserts and pastes alike.
TEST(FormulaTokens, AFormulaReadIsTheFormulaItsTextGives) {
    std::vector<std::vector<uint8_t>> streams;
    for (const Stream& s : handMade)
        streams.push_back(s.tokens);
    for (const char16_t* f :
         {u"IF(OR($C$5<1,$D$5<1),\"\",PRODUCT($C$5,$D$5))", u"SUM(B:B,2:3,$A:C,1:$4)",
          u"SUM(Sheet2!A1:B2,'征订登记'!$C$3,Sheet2!$B:$B)", u"VLOOKUP(A1,Sheet2!A:B,2,FALSE)",
          u"-A1+B$2*$C3/D4^2&\"长文字，不止四个字符\"", u"1+MYFUNC(A1,MYFUNC())", u"\"\""})
        streams.push_back(encode(f));
    for (const auto& t : streams) {
        formula::Program read = decode(t, 4, 3);
        std::u16string text = formula::print(read, names());
        EXPECT_TRUE(sameProgram(read, formula::parse(text, names()))) << text::toUtf8(text);
    }
}

TEST(FormulaTokens, RegisterFormulasAndOperatorsReadBackAsWritten) {
    const char16_t* formulas[] = {
        u"IF(OR($C$5<1,$D$5<1),\"\",PRODUCT($C$5,$D$5))",
        u"SUM($E$4:$E$9)",
        u"SUBSTITUTE(TRIM(IF(COUNTIF($B$4:$B$9,\"报纸\"),\"\",\"报纸 "
        u"\")&IF(COUNTIF($B$4:$B$9,\"杂志\"),\"\",\"杂志 \")),\" \",\"、\")",
        u"AND(ISERROR(A2*1),A2<>\"征订年度\")",
        u"-A1+B$2*$C3/D4^2&\"x\"",
        u"(1+2)*3%",
        u"A1>=1",
        u"A1<=1",
        u"A1=TRUE",
        u"#DIV/0!",
        u"1.5E+100",
        u"IF(A1,,2)",
        u"IF(A1,1)",
        u"SUM(B:B,2:3)",
        u"SUM(Sheet2!A1:B2,'征订登记'!$C$3)",
        u"COUNT(A1)",
        u"ROUND(A1,2)+LEN(\"ab\")+TODAY()",
        u"MYFUNC(1,2)",
        u"IF(IF(A1,B1),SUM(A1:B2),IF(C1,SUM(C1),MID(\"a\",1,1)))",
        u"COUNT(A1)+COUNTA(A1:B2)+COUNTIF(B1:B2,\"a\")+SUMIF(A:A,1,B:B)",
        u"INDEX(A1:B2,1,1)+OFFSET(A1,1,1)",
        u"-0.25<=65535+65536+70000.5",
    };
    for (const char16_t* f : formulas)
        EXPECT_EQ(roundTrip(f), f);
}

TEST(FormulaTokens, OperandClassesAndJumpsFollowExcel) {
    // IF(A1,B1,C1): condition, tAttrIf over the true branch, tAttrSkips to the end of the call.
    auto t = encode(u"IF(A1,B1,C1)");
    std::vector<uint8_t> expected = {0x44, 0,    0,  0, 0xC0, // tRefV A1
                                     0x19, 0x02, 9,  0,       // tAttrIf: skip B1 and its tAttrSkip
                                     0x44, 0,    0,  1, 0xC0, // tRefV B1 (IF used for its value)
                                     0x19, 0x08, 12, 0,       // tAttrSkip to the end, minus one
                                     0x44, 0,    0,  2, 0xC0, // tRefV C1
                                     0x19, 0x08, 3,  0,       // tAttrSkip
                                     0x42, 3,    1,  0};      // tFuncVarV IF, 3 arguments
    EXPECT_EQ(t, expected);

    // SUM of one range is the optimised tAttrSum over a reference-class area.
    t = encode(u"SUM($E$4:$E$9)");
    expected = {0x25, 3, 0, 8, 0, 4, 0, 4, 0, 0x19, 0x10, 0, 0};
    EXPECT_EQ(t, expected);

    // COUNTIF is fixed-arity (tFunc), its range a reference, its criterion a value.
    t = encode(u"COUNTIF(B1:B2,\"a\")");
    ASSERT_GE(t.size(), 3u);
    EXPECT_EQ(t[0], 0x25);
    EXPECT_EQ(t[t.size() - 3], 0x41);
    EXPECT_EQ(t[t.size() - 2], 346 & 0xFF);

    // A function of Excel's the engine does not compute is still Excel's own, not an add-in.
    t = encode(u"IPMT(0.1,1,2,100)");
    ASSERT_GE(t.size(), 4u);
    expected = {0x42, 4, 167, 0};
    EXPECT_EQ(std::vector<uint8_t>(t.end() - 4, t.end()), expected);
}

TEST(FormulaTokens, SharedFormulaOffsetsAndAttributeTokensAreRead) {
    // tRefN with row +1 and column -1 relative to the cell D5, a space attribute, tInt 2, tAdd.
    std::vector<uint8_t> t = {0x4C, 1, 0, 0xFF, 0xC0, 0x19, 0x40, 0, 1, 0x1E, 2, 0, 0x03};
    EXPECT_EQ(decodedText(t, 4, 3), u"C6+2");
    // tRef3d to an entry outside the workbook is kept as a value, not misread.
    std::vector<uint8_t> ext = {0x5A, 2, 0, 0, 0, 0, 0xC0};
    EXPECT_THROW(decode(ext), UnsupportedFormula);
}

TEST(FormulaTokens, MalformedStreamsAreRefused) {
    std::vector<std::vector<uint8_t>> bad = {
        {},                                       // nothing
        {0x03},                                   // operator without operands
        {0x1E, 1, 0, 0x1E, 2, 0},                 // two values, no operator
        {0x1F, 1, 2},                             // number cut short
        {0x42, 5, 4, 0},                          // SUM of five missing arguments
        {0x1E, 1, 0, 0x1E, 2, 0, 0x42, 2, 31, 0}, // MID, which takes three, with two
        {0xFF},                                   // unknown token
    };
    for (auto& t : bad)
        EXPECT_THROW(decode(t), FormatError);
    std::vector<uint8_t> deep;
    for (int i = 0; i < 5000; ++i)
        deep.push_back(0x16);
    for (int i = 0; i < 4999; ++i)
        deep.push_back(0x03);
    EXPECT_THROW(decode(deep), FormatError);
}

TEST(FormulaTokens, WhatExcel97CannotHoldIsRefusedOnWriting) {
    EXPECT_THROW(encode(u"\"" + std::u16string(300, u'x') + u"\""), FormatError);
    // A known function outside its arity, which the parser refuses but a program may still hold.
    formula::Program vlookup(1);
    vlookup[0].kind = formula::TokenKind::Number;
    formula::Token call;
    call.kind = formula::TokenKind::Name;
    call.flags = formula::kUnknownCall;
    call.payload.call = {7, 1};
    vlookup.push_back(call);
    formula::appendChars(vlookup, u"VLOOKUP");
    std::vector<uint8_t> out;
    EXPECT_THROW(encoder().encode(vlookup, out, OperandClass::Value), FormatError);
    std::u16string many = u"MYFUNC(1";
    for (int i = 0; i < 130; ++i)
        many += u",1";
    EXPECT_THROW(encode(many + u")"), FormatError);
}

TEST(FormulaTokens, AReferenceToARemovedSheetIsWrittenAsRefError) {
    EXPECT_EQ(roundTrip(u"SUM(Gone!A1,Gone!A1:B2,Gone!C:C)+Gone!B2+Sheet2!A1"),
              u"SUM(#REF!,#REF!,#REF!)+#REF!+Sheet2!A1");
}

namespace {

TEST(FormulaTokens, ArrayConstantsKeepTheirValuesAfterTheTokens) {
    // tArray (value class) and, after the token stream, three columns by one row: the number 1.5, the
    // text "x" and #DIV/0!.
    std::vector<uint8_t> tokens = {0x40, 0, 0, 0, 0, 0, 0, 0};
    std::vector<uint8_t> values = {2, 0, 0, 0x01, 0,    0,    0, 0, 0, 0, 0xF8, 0x3F, 0x02,
                                   1, 0, 0, 'x',  0x10, 0x07, 0, 0, 0, 0, 0,    0,    0};
    formula::Program p;
    decodeProgram(tokens, context(), 0, 0, p, values);
    EXPECT_EQ(formula::print(p, names()), u"{1.5,\"x\",#DIV/0!}");
    std::vector<uint8_t> cut(values.begin(), values.end() - 4);
    EXPECT_THROW(decodeProgram(tokens, context(), 0, 0, p, cut), FormatError);
    EXPECT_THROW(decode(tokens), FormatError); // no values at all

    for (std::u16string text : {u"SUM({1,\"ab\";TRUE,#N/A})+{2}", u"MATCH(\"b\",{\"a\",\"b\"},0)"}) {
        std::vector<uint8_t> out, arrays;
        encoder().encodeCell(formula::parse(text, names()), out, arrays);
        decodeProgram(out, context(), 0, 0, p, arrays);
        EXPECT_EQ(formula::print(p, names()), text);
    }
    std::vector<uint8_t> out, arrays;
    encoder().encodeCell(formula::parse(u"SUM({1,2})", names()), out, arrays);
    EXPECT_EQ(out[0], 0x60); // in a reference-class argument, tArray takes the array class
    EXPECT_EQ(std::vector<uint8_t>(arrays.begin(), arrays.begin() + 3), (std::vector<uint8_t>{1, 0, 0}));
    // Formulas stored without room for the values after them refuse arrays rather than lose them.
    EXPECT_THROW(encode(u"SUM({1,2})"), FormatError);
}

} // namespace
// Excel's whole function table, macro-sheet functions included, by the indexes and counts the format
// gives: a file's call of any of them is kept by name and written back with its own index and token.
TEST(FormulaTokens, EveryFunctionOfExcelsTableIsKeptByNameAndWrittenBackAsRead) {
    const Stream calls[] = {
        // DCOUNT (40) takes three: tFunc.
        {{0x25, 0, 0, 1, 0, 0, 0xC0, 1, 0xC0, 0x1E, 1, 0, 0x25, 0, 0, 1, 0, 2, 0xC0, 2, 0xC0, 0x41, 40, 0},
         u"DCOUNT(A1:B2,1,C1:C2)"},
        {{0x24, 0, 0, 0, 0xC0, 0x1E, 2, 0, 0x42, 2, 49, 0}, u"LINEST(A1,2)"},    // LINEST (49), one to four
        {{0x1E, 1, 0, 0x44, 0, 0, 0, 0xC0, 0x42, 2, 185, 0}, u"GET.CELL(1,A1)"}, // a macro-sheet function
        {{0x41, 89, 0}, u"CALLER()"},                                            // ... taking none
    };
    for (const Stream& s : calls) {
        formula::Program p = decode(s.tokens);
        EXPECT_EQ(formula::print(p, names()), s.text);
        std::vector<uint8_t> back;
        encoder().encode(p, back, OperandClass::Value);
        EXPECT_EQ(back, s.tokens) << text::toUtf8(s.text);
    }
    // The top bit of the index calls a macro command, not the function of the same number.
    std::vector<uint8_t> command = {0x1E, 1, 0, 0x42, 1, 24, 0x80};
    EXPECT_THROW(decode(command), UnsupportedFormula);
    // An index the table leaves empty is no function.
    std::vector<uint8_t> gap = {0x1E, 1, 0, 0x42, 1, 202, 0};
    EXPECT_THROW(decode(gap), UnsupportedFormula);
}

// Unions, intersections and ranges of computed references as Excel stores them: the outermost with a
// tMemFunc giving its length, a print-titles name as two areas and a union.
TEST(FormulaTokens, ReferenceOperatorsAreReadAndWrittenAsExcelStoresThem) {
    const std::vector<uint8_t> sumOfUnion = {0x29, 11, 0,    0x24, 0,    0,    0,    0xC0, 0x24, 1,
                                             0,    1,  0xC0, 0x10, 0x15, 0x19, 0x10, 0,    0};
    EXPECT_EQ(decodedText(sumOfUnion), u"SUM((A1,B2))");
    EXPECT_EQ(encode(u"SUM((A1,B2))"), sumOfUnion);

    // A name's whole columns and rows are absolute: its relative parts would be offsets.
    const std::vector<uint8_t> titles = {0x29, 23,   0, 0x3B, 1, 0, 0, 0, 0xFF, 0xFF, 0,    0, 0,
                                         0,    0x3B, 1, 0,    0, 0, 0, 0, 0,    0,    0xFF, 0, 0x10};
    EXPECT_EQ(decodedText(titles), u"Sheet2!$A:$A,Sheet2!$1:$1");
    std::vector<uint8_t> name;
    encoder().encodeName(formula::parse(u"Sheet2!$A:$A,Sheet2!$1:$1", names()), name);
    EXPECT_EQ(name, titles);

    // An intersection, and a range whose end is computed, without the tMem tokens Excel may omit.
    const std::vector<uint8_t> isect = {0x25, 0, 0, 1, 0, 0,    0xC0, 1,    0xC0, 0x25,
                                        1,    0, 2, 0, 1, 0xC0, 2,    0xC0, 0x0F};
    EXPECT_EQ(decodedText(isect), u"A1:B2 B2:C3");
    const std::vector<uint8_t> computedEnd = {0x24, 0,    0, 0, 0xC0, 0x25, 0, 0,    1, 0,  0, 0xC0, 1,
                                              0xC0, 0x1E, 1, 0, 0x1E, 1,    0, 0x42, 3, 29, 0, 0x11};
    EXPECT_EQ(decodedText(computedEnd), u"A1:INDEX(A1:B2,1,1)");
    // A union passed to a function without the tParen Excel writes still reads as one argument.
    const std::vector<uint8_t> bare = {0x24, 0, 0,    0, 0xC0, 0x24, 1, 0, 1,    0xC0, 0x10, 0x1E,
                                       1,    0, 0x1E, 1, 0,    0x1E, 2, 0, 0x42, 4,    29,   0};
    EXPECT_EQ(decodedText(bare), u"INDEX((A1,B2),1,1,2)");
    std::vector<uint8_t> back = encode(u"A1:INDEX(A1:B2,1,1)", OperandClass::Reference);
    EXPECT_EQ(decodedText(back), u"A1:INDEX(A1:B2,1,1)");
    EXPECT_EQ(back[0], 0x29);
}
