#include "engine/core/error.h"
#include "engine/formula/adjust.h"
#include "engine/formula/parser.h"
#include "tests/engine/model/sheet_fixture.h"

namespace engine {
namespace {

constexpr std::u16string_view kAmount = u"=IF(OR($C$5<1,$D$5<1),\"\",PRODUCT($C$5,$D$5))";

class Evaluation : public SheetTest {};

TEST_F(Evaluation, AmountFormulaOverQuantityAndPrice) {
    type(u"E5", kAmount);
    struct Case {
        std::u16string_view quantity, price;
        Value amount;
    };
    for (const Case& c : {
             Case{u"", u"", txt(u"")}, Case{u"0", u"12", txt(u"")}, Case{u"2", u"", txt(u"")},
             Case{u"2", u"3", num(6)}, Case{u"-2", u"3", txt(u"")}, Case{u"1.5", u"2.5", num(3.75)},
             Case{u"0.5", u"10", txt(u"")},
             Case{u"abc", u"3", num(3)}, // text is above every number, and PRODUCT skips text in cells
             Case{u"'2", u"3", num(3)},  // so is numeric text
             Case{u"1E308", u"10", err(ErrorCode::Num)}, // beyond the range of a double
         }) {
        type(u"C5", c.quantity);
        type(u"D5", c.price);
        EXPECT_EQ(value(u"E5"), c.amount) << std::string(c.quantity.begin(), c.quantity.end());
    }
}

TEST_F(Evaluation, MissingKindsFormula) {
    auto missing = [this](std::u16string_view kinds) {
        // As the register builds it: one IF term per kind over the block's material names.
        std::u16string f = u"=SUBSTITUTE(TRIM(";
        std::size_t start = 0;
        while (start <= kinds.size()) {
            std::size_t comma = std::min(kinds.find(u',', start), kinds.size());
            std::u16string kind(kinds.substr(start, comma - start));
            f += u"IF(COUNTIF($B$4:$B$7,\"" + kind + u"\"),\"\",\"" + kind + u" \")&";
            start = comma + 1;
        }
        f.pop_back();
        f += u"),\" \",\"、\")";
        type(u"B2", f);
        return value(u"B2");
    };
    type(u"B3", u"资料名称");
    EXPECT_EQ(missing(u"报纸,杂志,期刊"), txt(u"报纸、杂志、期刊"));
    type(u"B4", u"杂志");
    EXPECT_EQ(missing(u"报纸,杂志,期刊"), txt(u"报纸、期刊"));
    type(u"B5", u"期刊");
    type(u"B6", u"报纸");
    EXPECT_EQ(missing(u"报纸,杂志,期刊"), txt(u""));
    EXPECT_EQ(missing(u"报,报纸"), txt(u"报")); // a kind that is a prefix of another is not found in it
    EXPECT_EQ(missing(u"杂志"), txt(u""));
    EXPECT_EQ(formula(u"B2"),
              u"=SUBSTITUTE(TRIM(IF(COUNTIF($B$4:$B$7,\"杂志\"),\"\",\"杂志 \")),\" \",\"、\")");
}

TEST_F(Evaluation, CountIfOverCells) {
    type(u"A1", u"Apple");
    type(u"A2", u"apple pie");
    type(u"A3", u"5");
    type(u"A4", u"'5");
    type(u"A5", u"TRUE");
    type(u"A7", u"=\"\"");
    EXPECT_EQ(eval(u"=COUNTIF(A1:A8,\"APPLE\")"), num(1));
    EXPECT_EQ(eval(u"=COUNTIF(A1:A8,\"apple*\")"), num(2));
    EXPECT_EQ(eval(u"=COUNTIF(A1:A8,5)"), num(2));
    EXPECT_EQ(eval(u"=COUNTIF(A1:A8,\"5\")"), num(2));
    EXPECT_EQ(eval(u"=COUNTIF(A1:A8,\">4\")"), num(1));
    EXPECT_EQ(eval(u"=COUNTIF(A1:A8,\"\")"), num(3)); // A6, A8 and the empty text of A7
    EXPECT_EQ(eval(u"=COUNTIF(A1:A8,\"<>\")"), num(6));
    EXPECT_EQ(eval(u"=COUNTIF(A:A,\"*\")"), num(4));
    EXPECT_EQ(eval(u"=SUMIF(A1:A8,\">0\",A1:A8)"), num(5));
}

TEST_F(Evaluation, TellsUnitRowsFromOthersByTheirColumnA) {
    type(u"A2", u"第一中学");
    type(u"A3", u"征订年度");
    type(u"A4", u"2026");
    type(u"A5", u"'2024");
    type(u"A6", u"征订年度");
    type(u"A8", u"杂项");
    // Row % is a unit row when its A holds a text and the column-header row follows (row &).
    const std::u16string_view criterion = u"=AND(ISTEXT(A%),A%<>\"征订年度\",A&=\"征订年度\")";
    auto unitRow = [&](char16_t row) {
        std::u16string f(criterion);
        for (char16_t& c : f)
            if (c == u'%')
                c = row;
            else if (c == u'&')
                c = char16_t(row + 1);
        return eval(f);
    };
    EXPECT_EQ(unitRow(u'2'), Value::boolean(true));
    EXPECT_EQ(unitRow(u'3'), Value::boolean(false));
    EXPECT_EQ(unitRow(u'4'), Value::boolean(false));
    EXPECT_EQ(unitRow(u'5'), Value::boolean(true));  // numeric text is a name too
    EXPECT_EQ(unitRow(u'7'), Value::boolean(false)); // an empty cell is no text
    EXPECT_EQ(unitRow(u'8'), Value::boolean(false)); // a stray text without a block
}

TEST_F(Evaluation, FormulasComputedWithoutACell) {
    type(u"A2", u"一中");
    type(u"A3", u"征订年度");
    type(u"C2", u"=A2&\"!\"");
    auto parse = [this](std::u16string_view text) {
        return formula::parse(text, book.sheetNames());
    };
    formula::Program unitRow = parse(u"AND(ISERROR(A2*1),A2<>\"征订年度\")");
    EXPECT_EQ(sheet.evaluate(unitRow, 1, 5), Value::boolean(true));
    formula::moveRelative(unitRow, 1, 0);
    EXPECT_EQ(sheet.evaluate(unitRow, 2, 5), Value::boolean(false));
    EXPECT_EQ(sheet.evaluate(parse(u"COUNTIF(A:A,\"一中\")"), 0, 0), num(1));
    EXPECT_EQ(sheet.evaluate(parse(u"C2"), 0, 0), txt(u"一中!"));
    EXPECT_FALSE(sheet.hasContent(0, 0));
}

// Hiding or showing rows, as an outline does, computes again what leaves hidden rows out and nothing
// else.
TEST_F(Evaluation, SubtotalsFollowRowsBeingHiddenAndShown) {
    type(u"A1", u"1");
    type(u"A2", u"2");
    type(u"A3", u"4");
    type(u"B1", u"=SUBTOTAL(109,A1:A3)");
    type(u"B2", u"=SUBTOTAL(9,A1:A3)");
    type(u"B3", u"=SUM(A1:A3)");
    EXPECT_EQ(sheet.value(0, 1), num(7));
    std::uint64_t before = book.contentRevision();
    sheet.setRowHidden(1, true);
    EXPECT_EQ(book.contentRevision(), before); // no content changed
    EXPECT_EQ(sheet.value(0, 1), num(5));
    EXPECT_EQ(sheet.value(1, 1), num(7));
    sheet.setRowHidden(1, false);
    EXPECT_EQ(sheet.value(0, 1), num(7));
}

TEST_F(Evaluation, SumOverARangeWithATextHeader) {
    type(u"E3", u"金额");
    type(u"E4", u"6");
    type(u"E5", u"=\"\"");
    type(u"E6", u"3.75");
    type(u"E7", u"TRUE");
    EXPECT_EQ(eval(u"=SUM($E$3:$E$7)"), num(9.75));
    EXPECT_EQ(eval(u"=SUM($E$4)"), num(6));
    EXPECT_EQ(eval(u"=SUM(E3,\"2\",TRUE)"), num(3)); // typed arguments are converted
    EXPECT_EQ(eval(u"=SUM(E3&\"x\")"), err(ErrorCode::Value));
    type(u"E8", u"=1/0");
    EXPECT_EQ(eval(u"=SUM(E3:E8)"), err(ErrorCode::Div0));
}

TEST_F(Evaluation, BlankRowsAsTheEntryRowHandlerCountsThem) {
    type(u"E9", u"=IF(OR($C$9<1,$D$9<1),\"\",PRODUCT($C$9,$D$9))");
    EXPECT_EQ(eval(u"=COUNTBLANK(9:9)"), num(256));
    type(u"C9", u"1");
    EXPECT_EQ(eval(u"=COUNTBLANK(9:9)"), num(255));
}

TEST_F(Evaluation, ARangeWhereOneValueIsWantedMeetsTheFormulasRowOrColumn) {
    type(u"A1", u"1");
    type(u"A2", u"2");
    type(u"A3", u"3");
    type(u"B2", u"=A1:A3*10");
    type(u"B5", u"=A1:A3");
    type(u"D1", u"=A1:C1");
    EXPECT_EQ(value(u"B2"), num(20));
    EXPECT_EQ(value(u"B5"), err(ErrorCode::Value));
    EXPECT_EQ(value(u"D1"), err(ErrorCode::Value)); // its own column lies outside A:C
    type(u"B1", u"=SUMIF(A1:A3,\">1\",C1)");        // the sum range takes the criteria range's shape
    type(u"C2", u"5");
    type(u"C3", u"7");
    EXPECT_EQ(value(u"B1"), num(12));
    type(u"A4", u"9"); // below the criteria range: neither its row nor its sum counts
    type(u"C4", u"100");
    EXPECT_EQ(value(u"B1"), num(12));
    type(u"C3", u"=C2*3");
    EXPECT_EQ(value(u"B1"), num(20)); // a formula outside the written sum range is current too
    type(u"B1", u"=SUMIF(A1:A3,\">2\",C1:C3)");
    EXPECT_EQ(value(u"B1"), num(15));
    type(u"B1", u"=SUMIF(A1:A3,\">1\")"); // without a sum range: the criteria range itself
    EXPECT_EQ(value(u"B1"), num(5));
    // IF's branch that names an empty cell is that empty cell, equal to "" and to 0 alike.
    type(u"B1", u"=IF(TRUE,A9)=\"\"");
    type(u"B7", u"=IF(FALSE,1,A9)=0");
    EXPECT_EQ(value(u"B1"), Value::boolean(true));
    EXPECT_EQ(value(u"B7"), Value::boolean(true));
}

TEST_F(Evaluation, Coercions) {
    type(u"A1", u"'12");
    EXPECT_EQ(eval(u"=A1*2"), num(24));
    EXPECT_EQ(eval(u"=B1+1"), num(1));
    EXPECT_EQ(eval(u"=B1&\"x\""), txt(u"x"));
    EXPECT_EQ(eval(u"=B1"), num(0));
    EXPECT_EQ(eval(u"=TRUE+TRUE"), num(2));
    EXPECT_EQ(eval(u"=\"a\"+1"), err(ErrorCode::Value));
    EXPECT_EQ(eval(u"=1/3&\"\""), txt(u"0.333333333333333"));
    EXPECT_EQ(eval(u"=-2^2"), num(4));
    EXPECT_EQ(eval(u"=2^3^2"), num(64));
    EXPECT_EQ(eval(u"=0^0"), err(ErrorCode::Num));
    EXPECT_EQ(eval(u"=0^-1"), err(ErrorCode::Div0));
    EXPECT_EQ(eval(u"=50%*4"), num(2));
}

TEST_F(Evaluation, Comparisons) {
    EXPECT_EQ(eval(u"=\"abc\"=\"ABC\""), Value::boolean(true));
    EXPECT_EQ(eval(u"=\"b\">\"A\""), Value::boolean(true));
    EXPECT_EQ(eval(u"=\"a\">99999"), Value::boolean(true));
    EXPECT_EQ(eval(u"=FALSE>\"z\""), Value::boolean(true));
    EXPECT_EQ(eval(u"=B1=0"), Value::boolean(true));
    EXPECT_EQ(eval(u"=B1=\"\""), Value::boolean(true));
    EXPECT_EQ(eval(u"=B1=FALSE"), Value::boolean(true));
    EXPECT_EQ(eval(u"=1/0=1"), err(ErrorCode::Div0));
}

// Each operator on each ordering of two operands: numbers below texts below booleans, texts without
// regard to case.
TEST_F(Evaluation, EveryComparisonOperatorOnEqualSmallerAndGreaterOperands) {
    struct Pair {
        std::u16string_view left, right;
        int order; // left against right
    };
    struct Operator {
        std::u16string_view text;
        bool less, equal, greater; // what it gives for each order
    };
    const Operator operators[] = {
        {u"=", false, true, false}, {u"<>", true, false, true}, {u"<", true, false, false},
        {u"<=", true, true, false}, {u">", false, false, true}, {u">=", false, true, true},
    };
    for (const Pair& p : {
             Pair{u"1", u"1", 0},
             Pair{u"1", u"2", -1},
             Pair{u"2", u"1", 1},
             Pair{u"-0.5", u"0.25", -1},
             Pair{u"\"ab\"", u"\"AB\"", 0},
             Pair{u"\"a\"", u"\"b\"", -1},
             Pair{u"\"b\"", u"\"a\"", 1},
             Pair{u"\"a\"", u"\"ab\"", -1},
             Pair{u"FALSE", u"FALSE", 0},
             Pair{u"FALSE", u"TRUE", -1},
             Pair{u"TRUE", u"FALSE", 1},
             Pair{u"TRUE", u"TRUE", 0},
             Pair{u"99999", u"\"1\"", -1},
             Pair{u"\"1\"", u"99999", 1},
             Pair{u"\"z\"", u"FALSE", -1},
             Pair{u"FALSE", u"\"z\"", 1},
             Pair{u"1", u"FALSE", -1},
             Pair{u"TRUE", u"1", 1},
         })
        for (const Operator& op : operators) {
            std::u16string f = u"=";
            f.append(p.left).append(op.text).append(p.right);
            const bool expected = p.order < 0 ? op.less : p.order == 0 ? op.equal : op.greater;
            EXPECT_EQ(eval(f), Value::boolean(expected)) << std::string(f.begin(), f.end());
        }
}

// Formulas of random pieces, where they parse, compute to some value: no crash, no stray operands.
TEST_F(Evaluation, AnyAcceptedFormulaComputes) {
    type(u"A1", u"3");
    type(u"A2", u"abc");
    type(u"B1", u"=A1*2");
    const std::u16string_view pieces[] = {
        u"A1",          u"A1:B3",  u"B:B",   u"(",           u")",        u",",    u"+",
        u"-",           u"&",      u"%",     u"<",           u"\"x\"",    u"1",    u"0",
        u"TRUE",        u"#N/A",   u"IF(",   u"SUM(",        u"COUNTIF(", u"MID(", u"AND(",
        u"SUBSTITUTE(", u"ROUND(", u"LEFT(", u"COUNTBLANK(", u"SUMIF(",   u"nope("};
    std::uint32_t seed = 777;
    auto next = [&seed] {
        return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF;
    };
    int computed = 0;
    for (int round = 0; round < 20000; ++round) {
        std::u16string text = u"=";
        for (std::uint32_t n = next() % 9 + 1; n > 0; --n)
            text += pieces[next() % std::size(pieces)];
        try {
            type(u"D4", text);
        } catch (const EngineError&) {
            continue;
        }
        value(u"D4");
        ++computed;
    }
    EXPECT_GT(computed, 500);
    EXPECT_EQ(eval(u"=1+1"), num(2));
}

// A text that reads as a date or a time takes part in arithmetic as its serial number, in the
// workbook's own date system; results LibreOffice computes.
TEST_F(Evaluation, ArithmeticTakesDatesAndTimesWrittenAsText) {
    EXPECT_EQ(eval(u"=\"2024-01-15\"*1"), num(45306));
    EXPECT_EQ(eval(u"=\"12:30\"*24"), num(12.5));
    EXPECT_EQ(eval(u"=\"2024-01-15 06:00\"+0"), num(45306.25));
    EXPECT_EQ(eval(u"=-\"1/15/2024\""), num(-45306));
    EXPECT_EQ(eval(u"=\"15-Jan-2024\"-\"2024-01-01\""), num(14));
    EXPECT_EQ(eval(u"=ABS(\"6:00 PM\")"), num(0.75));
    EXPECT_EQ(eval(u"=\"x\"*1"), err(ErrorCode::Value));
    EXPECT_EQ(eval(u"=1E+300*1E+300"), err(ErrorCode::Num));
    EXPECT_EQ(eval(u"=1/0"), err(ErrorCode::Div0));
    // In the 1904 date system a date's serial is 1,462 days less.
    book.setDateSystem(DateSystem::Excel1904);
    EXPECT_EQ(eval(u"=\"2024-01-15\"*1"), num(45306 - 1462));
    // TEXT shows a serial number as the date it is in the workbook's system.
    EXPECT_EQ(eval(u"=TEXT(43844,\"yyyy-mm-dd\")"), txt(u"2024-01-15"));
}

TEST_F(Evaluation, Functions) {
    book.setNow(46000.5); // 2025-12-10, noon
    type(u"A1", u"3");
    type(u"A2", u"x");
    type(u"A3", u"4");
    struct Case {
        std::u16string_view formula;
        Value expected;
    };
    for (const Case& c : {
             Case{u"=TRIM(\"  a   b  \")", txt(u"a b")},
             Case{u"=SUBSTITUTE(\"a b c\",\" \",\"、\")", txt(u"a、b、c")},
             Case{u"=SUBSTITUTE(\"aaa\",\"a\",\"b\",2)", txt(u"aba")},
             Case{u"=LEN(\"征订\")", num(2)},
             Case{u"=LEFT(\"abc\")&RIGHT(\"abc\",2)&MID(\"abcdef\",3,2)", txt(u"abccd")},
             Case{u"=MID(\"abc\",0,1)", err(ErrorCode::Value)},
             Case{u"=MID(\"abc\",1,-1)", err(ErrorCode::Value)},
             Case{u"=MID(\"abc\",4,1)", txt(u"")},
             Case{u"=UPPER(\"ab\")&LOWER(\"CD\")", txt(u"ABcd")},
             Case{u"=CONCATENATE(\"a\",1,TRUE)", txt(u"a1TRUE")},
             Case{u"=VALUE(\"1,234\")", num(1234)},
             Case{u"=VALUE(\"x\")", err(ErrorCode::Value)},
             Case{u"=ROUND(2.5,0)+ROUND(-2.5,0)+ROUND(1.234,2)", num(1.23)},
             Case{u"=ROUND(2.675,2)", num(2.68)},
             Case{u"=ROUND(1250,-2)", num(1300)},
             Case{u"=INT(-1.5)", num(-2)},
             Case{u"=ABS(-3)", num(3)},
             Case{u"=MOD(-3,2)", num(1)},
             Case{u"=MOD(1,0)", err(ErrorCode::Div0)},
             Case{u"=AVERAGE(A1:A3)", num(3.5)},
             Case{u"=AVERAGE(A2)", err(ErrorCode::Div0)},
             Case{u"=MIN(A1:A3)+MAX(A1:A3)", num(7)},
             Case{u"=COUNT(A1:A5,\"7\")", num(3)},
             Case{u"=COUNTA(A1:A5)", num(3)},
             Case{u"=AND(A1>1,A3>1)", Value::boolean(true)},
             Case{u"=OR(A2:A2)", err(ErrorCode::Value)},
             Case{u"=NOT(0)", Value::boolean(true)},
             Case{u"=ISBLANK(A9)", Value::boolean(true)},
             Case{u"=ISNUMBER(A1)", Value::boolean(true)},
             Case{u"=ISTEXT(A2)", Value::boolean(true)},
             Case{u"=IF(FALSE,1)", Value::boolean(false)},
             Case{u"=IF(\"x\",1,2)", err(ErrorCode::Value)},
             Case{u"=YEAR(TODAY())", num(2025)},
             Case{u"=YEAR(\"x\")", err(ErrorCode::Value)},
             Case{u"=nosuch(1)", err(ErrorCode::Name)},
             Case{u"=undefinedName+1", err(ErrorCode::Name)},
         })
        EXPECT_EQ(eval(c.formula), c.expected) << std::string(c.formula.begin(), c.formula.end());
}

} // namespace
} // namespace engine
