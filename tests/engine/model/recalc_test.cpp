#include "engine/core/error.h"
#include "tests/engine/model/sheet_fixture.h"

namespace engine {
namespace {

class Recalculation : public SheetTest {};

TEST_F(Recalculation, ReadsAreCurrentAfterEveryKindOfChange) {
    type(u"C4", u"2");
    type(u"D4", u"3");
    type(u"E4", u"=C4*D4");
    type(u"C2", u"=SUM(E3:E5)");
    EXPECT_EQ(value(u"C2"), num(6));
    type(u"D4", u"4");
    EXPECT_EQ(value(u"C2"), num(8));
    sheet.clearContents(*parseArea(u"C4"));
    EXPECT_EQ(value(u"C2"), num(0));
    type(u"E5", u"10");
    EXPECT_EQ(value(u"C2"), num(10));
}

TEST_F(Recalculation, AWalkOverValuesSeesCurrentResults) {
    type(u"A1", u"2");
    type(u"B1", u"=A1*2");
    type(u"C2", u"=B1&\"份\"");
    type(u"A3", u"一中");
    sheet.modifyFormat(Area::cell(1, 0), [](Format& f) { f.font.bold = true; });
    EXPECT_EQ(value(u"C2"), txt(u"4份"));
    type(u"A1", u"5"); // both formulas are stale now
    std::vector<std::pair<CellAddress, Value>> seen;
    sheet.forEachValue(Area::wholeSheet(), [&](int r, int c, const ValueView& v) {
        seen.push_back({{r, c}, v.toValue()});
    });
    using Seen = std::vector<std::pair<CellAddress, Value>>;
    EXPECT_EQ(seen,
              (Seen{{{0, 0}, num(5)}, {{0, 1}, num(10)}, {{1, 2}, txt(u"10份")}, {{2, 0}, txt(u"一中")}}));
}

TEST_F(Recalculation, FormulasOnOtherSheetsFollow) {
    Sheet& other = book.addSheet(u"Sheet2");
    other.setFormula(0, 0, u"='征订登记'!B2*2");
    type(u"B2", u"21");
    EXPECT_EQ(other.value(0, 0), num(42));
    type(u"B2", u"1");
    EXPECT_EQ(other.value(0, 0), num(2));
    EXPECT_EQ(other.formulaText(0, 0), u"='征订登记'!B2*2");
    book.renameSheet(sheet, u"Register");
    EXPECT_EQ(other.formulaText(0, 0), u"=Register!B2*2");
    book.removeSheet(sheet);
    EXPECT_EQ(other.value(0, 0), err(ErrorCode::Ref));
    EXPECT_EQ(other.formulaText(0, 0), u"=#REF!*2");
}

TEST_F(Recalculation, AFormulaWaitingForOthersKeepsItsPendingOperands) {
    type(u"A1", u"=B1*2");
    type(u"A2", u"=B2&\"!\"");
    type(u"B1", u"=3");
    type(u"B2", u"=\"ok\"");
    type(u"C1", u"=CONCATENATE(\"x\",10-A1/2,\"y\",A2,SUM(A1:B1))");
    EXPECT_EQ(value(u"C1"), txt(u"x7yok!9"));
}

// Ten thousand links deep: computed without recursion, so the stack cannot overflow. How the time grows
// with the chain is for the benchmarks to tell.
TEST_F(Recalculation, ALongChainIsComputedWithoutRecursion) {
    constexpr int kLength = 10000;
    sheet.setValue(0, 0, num(1));
    for (int r = 1; r < kLength; ++r)
        sheet.setFormula(r, 0, u"=A" + formatAddress({r - 1, 0}, false).substr(1) + u"+1");
    EXPECT_EQ(sheet.value(kLength - 1, 0), num(kLength));
    sheet.setValue(0, 0, num(101));
    EXPECT_EQ(sheet.value(kLength - 1, 0), num(kLength + 100));
}

TEST_F(Recalculation, CircularReferencesGiveAnErrorUntilBroken) {
    type(u"A1", u"=B1+1");
    type(u"B1", u"=A1+1");
    type(u"C1", u"=A1*0+5");
    EXPECT_TRUE(value(u"A1").isError());
    EXPECT_TRUE(value(u"B1").isError());
    EXPECT_TRUE(value(u"C1").isError());
    type(u"A3", u"=SUM(A2:A4)");
    EXPECT_TRUE(value(u"A3").isError());
    type(u"B1", u"5");
    EXPECT_EQ(value(u"A1"), num(6));
    EXPECT_EQ(value(u"C1"), num(5));
}

TEST_F(Recalculation, RefusedFormulaLeavesTheCellAsItWas) {
    type(u"A1", u"=1+1");
    EXPECT_THROW(type(u"A1", u"=SUM(1"), EngineError);
    EXPECT_THROW(type(u"A1", u"=Nowhere!A1"), EngineError);
    EXPECT_EQ(formula(u"A1"), u"=1+1");
    EXPECT_EQ(value(u"A1"), num(2));
}

TEST_F(Recalculation, EntryAsTyped) {
    struct Case {
        std::u16string_view typed;
        Value value;
    };
    for (const Case& c :
         {Case{u"1,234.5", num(1234.5)}, Case{u"-5%", num(-0.05)}, Case{u" 2e3 ", num(2000)},
          Case{u"true", Value::boolean(true)}, Case{u"'TRUE", txt(u"TRUE")}, Case{u"'=1+1", txt(u"=1+1")},
          Case{u"#N/A", err(ErrorCode::NA)}, Case{u"征订年度", txt(u"征订年度")},
          Case{u"12,34", txt(u"12,34")}, Case{u"=", txt(u"=")}, Case{u"", Value()}}) {
        type(u"A1", c.typed);
        EXPECT_EQ(value(u"A1"), c.value) << std::string(c.typed.begin(), c.typed.end());
        EXPECT_FALSE(sheet.hasFormula(0, 0));
    }
    type(u"A1", u"=1+1");
    EXPECT_TRUE(sheet.hasFormula(0, 0));
}

} // namespace
} // namespace engine
