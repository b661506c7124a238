#include "engine/core/error.h"
#include "sheet_fixture.h"

namespace engine {
namespace {

class ArrayFormulaTest : public SheetTest {
protected:
    void SetUp() override {
        // A1:A3 1, 2, 3; B1:B3 4, 5, 6
        for (int r = 0; r < 3; ++r) {
            sheet.setValue(r, 0, num(r + 1));
            sheet.setValue(r, 1, num(r + 4));
        }
    }
    void array(std::u16string_view range, std::u16string_view text) {
        sheet.setArrayFormula(parseArea(range).value(), text);
    }
};

TEST_F(ArrayFormulaTest, RangesAreTakenWholeAndEachCellShowsItsElement) {
    array(u"D1", u"=SUM(A1:A3*B1:B3)");
    EXPECT_EQ(value(u"D1"), num(32));
    type(u"D9", u"=SUM(A1:A3*B1:B3)"); // entered alone, the ranges meet the formula's row: #VALUE!
    EXPECT_EQ(value(u"D9"), err(ErrorCode::Value));

    array(u"E1:E3", u"=A1:A3*10+B1:B3");
    EXPECT_EQ(value(u"E1"), num(14));
    EXPECT_EQ(value(u"E3"), num(36));
    EXPECT_EQ(formula(u"E2"), u"=A1:A3*10+B1:B3");
    sheet.setValue(1, 0, num(7)); // A2
    EXPECT_EQ(value(u"E2"), num(75));

    array(u"F1:F4", u"=IF(A1:A3>2,\"big\",\"small\")");
    EXPECT_EQ(value(u"F1"), txt(u"small"));
    EXPECT_EQ(value(u"F2"), txt(u"big"));
    EXPECT_EQ(value(u"F4"), err(ErrorCode::NA)); // beyond the result

    array(u"G1:H2", u"={1;2}"); // a single column repeats across
    EXPECT_EQ(value(u"H1"), num(1));
    EXPECT_EQ(value(u"H2"), num(2));

    array(u"A5:C5", u"=TRANSPOSE(A1:A3)");
    EXPECT_EQ(value(u"B5"), num(7));
    EXPECT_EQ(value(u"C5"), num(3));
    array(u"A6:B7", u"=TRANSPOSE({1,2;3,4})");
    EXPECT_EQ(value(u"B6"), num(3));
    EXPECT_EQ(value(u"A7"), num(2));
}

TEST_F(ArrayFormulaTest, PartOfAnArrayIsNotChangedButTheWholeMayBe) {
    array(u"E1:E3", u"=A1:A3*2");
    for (auto write : std::initializer_list<std::function<void()>>{
             [&] { type(u"E2", u"5"); },
             [&] { sheet.setFormula(1, 4, u"=1"); },
             [&] { sheet.clearContents(parseArea(u"E1:E2").value()); },
             [&] { sheet.setArrayFormula(parseArea(u"E3:E4").value(), u"=1"); },
             [&] { sheet.deleteRows(1, 1); },
             [&] { sheet.insertRows(2, 1); },
             [&] { sheet.deleteCells(parseArea(u"E1:E1").value(), Shift::Up); },
             [&] { sheet.insertCells(parseArea(u"D2:E2").value(), Shift::Right); },
         }) {
        EXPECT_THROW(write(), EngineError);
        EXPECT_EQ(value(u"E3"), num(6));
        EXPECT_EQ(sheet.arrayAt(1, 4), parseArea(u"E1:E3"));
    }
    array(u"E1:E3", u"=B1:B3"); // the whole range again replaces it
    EXPECT_EQ(value(u"E2"), num(5));
    sheet.clearContents(parseArea(u"E1:E5").value());
    EXPECT_FALSE(sheet.arrayAt(0, 4));
    EXPECT_FALSE(sheet.hasFormula(0, 4));
    array(u"G1", u"=SUM(A1:A3)"); // a single cell is the whole of its array
    type(u"G1", u"4");
    EXPECT_FALSE(sheet.arrayAt(0, 6));
}

TEST_F(ArrayFormulaTest, StructuralEditsMoveTheRangeAndItsReferences) {
    array(u"E2:E4", u"=A1:A3+1");
    sheet.insertRows(0, 2);
    EXPECT_EQ(sheet.arrayAt(3, 4), parseArea(u"E4:E6"));
    EXPECT_EQ(formula(u"E5"), u"=A3:A5+1");
    EXPECT_EQ(value(u"E6"), num(4));
    sheet.insertColumns(2, 1);
    EXPECT_EQ(sheet.arrayAt(3, 5), parseArea(u"F4:F6"));
    sheet.deleteRows(3, 3); // the whole array goes
    EXPECT_TRUE(sheet.arrayFormulas().empty());
    EXPECT_FALSE(sheet.hasFormula(3, 5));
}

} // namespace
} // namespace engine
