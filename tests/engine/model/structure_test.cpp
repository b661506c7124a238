#include "engine/core/error.h"
#include "tests/engine/model/sheet_fixture.h"

namespace engine {
namespace {

class Structure : public SheetTest {
protected:
    // Two unit blocks with no separator row between them: rows 2-4 and 5-7.
    void twoBlocks() {
        type(u"A2", u"一中");
        type(u"C2", u"=SUM($E$3:$E$4)");
        type(u"A3", u"征订年度");
        type(u"E3", u"金额");
        type(u"C4", u"2");
        type(u"D4", u"3");
        type(u"E4", u"=IF(OR($C$4<1,$D$4<1),\"\",PRODUCT($C$4,$D$4))");
        type(u"A5", u"二中");
        type(u"B5", u"=IF(COUNTIF($B$7,\"杂志\"),\"\",\"杂志\")");
        type(u"C5", u"=SUM($E$6:$E$7)");
        type(u"A6", u"征订年度");
        type(u"E6", u"金额");
        type(u"B7", u"杂志");
        type(u"C7", u"4");
        type(u"D7", u"5");
        type(u"E7", u"=IF(OR($C$7<1,$D$7<1),\"\",PRODUCT($C$7,$D$7))");
        for (int r : {2, 3, 5, 6})
            sheet.editRow(r).outlineLevel = 1;
        sheet.modifyFormat(Area::rows(3, 3), [](Format& f) {
            f.fillColorIndex = 34;
            f.font.colorIndex = 5;
            for (Border& b : f.borders)
                b = {LineStyle::Dash, BorderWeight::Thin};
        });
        sheet.modifyFormat(Area::cell(3, 1),
                           [](Format& f) { f.horizontalAlignment = HorizontalAlignment::Left; });
    }
};

TEST_F(Structure, RowInsertedBetweenABlockAndTheNextUnitRow) {
    twoBlocks();
    EXPECT_EQ(value(u"C5"), num(20));
    sheet.insertRows(4, 1); // above row 5, the next unit row

    EXPECT_EQ(formula(u"C2"), u"=SUM($E$3:$E$4)"); // ends above the new row: stays
    EXPECT_EQ(formula(u"B6"), u"=IF(COUNTIF($B$8,\"杂志\"),\"\",\"杂志\")");
    EXPECT_EQ(formula(u"C6"), u"=SUM($E$7:$E$8)");
    EXPECT_EQ(formula(u"E8"), u"=IF(OR($C$8<1,$D$8<1),\"\",PRODUCT($C$8,$D$8))");
    EXPECT_EQ(value(u"C6"), num(20));
    EXPECT_EQ(value(u"B6"), txt(u""));
    EXPECT_EQ(value(u"A6"), txt(u"二中"));
    EXPECT_EQ(value(u"A5"), Value());
    type(u"C8", u"10");
    EXPECT_EQ(value(u"C6"), num(50));
}

TEST_F(Structure, InsertedRowLooksLikeTheRowAbove) {
    twoBlocks();
    sheet.editRow(3).height = 24;
    sheet.editRow(3).customHeight = true;
    sheet.insertRows(4, 1);
    const RowProperties& inserted = sheet.row(4);
    EXPECT_EQ(inserted.outlineLevel, 1);
    EXPECT_EQ(inserted.format, sheet.row(3).format);
    EXPECT_TRUE(inserted.customHeight);
    EXPECT_EQ(inserted.height, 24);
    const Format& f = sheet.format(4, 6);
    EXPECT_EQ(f.fillColorIndex, 34);
    EXPECT_EQ(f.font.colorIndex, 5);
    EXPECT_EQ(f.border(Edge::Bottom), (Border{LineStyle::Dash, BorderWeight::Thin}));
    EXPECT_EQ(sheet.format(4, 1).horizontalAlignment, HorizontalAlignment::Left);
    EXPECT_FALSE(sheet.hasContent(4, 1));
    EXPECT_EQ(sheet.row(5).outlineLevel, 0); // the unit row moved down with its own level
}

TEST_F(Structure, DeletedRowsShrinkRangesAndBreakReferencesToThem) {
    twoBlocks();
    type(u"G1", u"=E7+1");
    sheet.deleteRows(5, 2); // rows 6 and 7
    EXPECT_EQ(formula(u"C5"), u"=SUM(#REF!)");
    EXPECT_EQ(value(u"C5"), err(ErrorCode::Ref));
    EXPECT_EQ(formula(u"G1"), u"=#REF!+1");
    EXPECT_EQ(formula(u"C2"), u"=SUM($E$3:$E$4)");
    sheet.deleteRows(2, 1); // row 3, the first block's header
    EXPECT_EQ(formula(u"C2"), u"=SUM($E$3:$E$3)");
    EXPECT_EQ(value(u"C2"), num(6));
}

TEST_F(Structure, FormulasOnOtherSheetsFollowTheMovedCells) {
    twoBlocks();
    Sheet& other = book.addSheet(u"Sheet2");
    other.setFormula(0, 0, u"=SUM(征订登记!E3:E8)+征订登记!$C$7");
    other.setFormula(1, 0, u"=E7"); // its own sheet: stays
    EXPECT_EQ(other.value(0, 0), num(30));
    sheet.insertRows(4, 2);
    EXPECT_EQ(other.formulaText(0, 0), u"=SUM('征订登记'!E3:E10)+'征订登记'!$C$9");
    EXPECT_EQ(other.formulaText(1, 0), u"=E7");
    type(u"C9", u"1");
    EXPECT_EQ(other.value(0, 0), num(12));
}

// An edit below (right of) every reference into a sheet leaves the formulas alone without looking at
// them; these are the references that must still be found.
TEST_F(Structure, EditsBelowTheBlocksStillMoveWhatRefersThere) {
    twoBlocks();
    type(u"H1", u"=SUM(A1:A30)"); // starts above the edit, ends below it
    sheet.insertRows(9, 2);
    EXPECT_EQ(formula(u"H1"), u"=SUM(A1:A32)");
    EXPECT_EQ(formula(u"C5"), u"=SUM($E$6:$E$7)");

    // Only another sheet refers below row 40.
    Sheet& other = book.addSheet(u"Sheet2");
    other.setFormula(0, 0, u"=征订登记!$C$50+SUM(征订登记!C:C)");
    type(u"C50", u"7");
    sheet.insertRows(39, 1);
    EXPECT_EQ(other.formulaText(0, 0), u"='征订登记'!$C$51+SUM('征订登记'!C:C)");
    EXPECT_EQ(other.value(0, 0), num(46));
}

TEST_F(Structure, WholeRowsFollowRowEditsAndWholeColumnsColumnEdits) {
    type(u"A1", u"=SUM(100:100)+SUM(Z:Z)+SUM(B:B)");
    sheet.insertRows(59, 1);
    EXPECT_EQ(formula(u"A1"), u"=SUM(101:101)+SUM(Z:Z)+SUM(B:B)");
    sheet.insertColumns(10, 1);
    EXPECT_EQ(formula(u"A1"), u"=SUM(101:101)+SUM(AA:AA)+SUM(B:B)");
}

TEST_F(Structure, ReferencesKeepFollowingAfterEditsAboveAndBelowThem) {
    type(u"A1", u"=$B$10+B12");
    sheet.insertRows(20, 1); // below both
    EXPECT_EQ(formula(u"A1"), u"=$B$10+B12");
    sheet.deleteRows(2, 3); // rows 3 to 5: both move up
    EXPECT_EQ(formula(u"A1"), u"=$B$7+B9");
    sheet.insertRows(8, 1); // above row 9 only
    EXPECT_EQ(formula(u"A1"), u"=$B$7+B10");
    type(u"A1", u"=C1");
    sheet.insertRows(0, 1);
    EXPECT_EQ(formula(u"A2"), u"=C2");
    type(u"A3", u"=Z3");
    sheet.insertColumns(10, 1); // between column C and column Z
    EXPECT_EQ(formula(u"A3"), u"=AA3");
    EXPECT_EQ(formula(u"A2"), u"=C2");
}

TEST_F(Structure, RefusesToPushContentOffTheSheet) {
    type(u"A1", u"1");
    type(u"B65536", u"x");
    EXPECT_THROW(sheet.insertRows(0, 1), EngineError);
    EXPECT_EQ(value(u"A1"), num(1));
    EXPECT_EQ(value(u"B65536"), txt(u"x"));
    type(u"IV1", u"x");
    EXPECT_THROW(sheet.insertColumns(0, 1), EngineError);
    sheet.clearContents(Area::wholeSheet());
    sheet.modifyFormat(Area::cell(kLastRow, 0), [](Format& f) { f.font.bold = true; });
    EXPECT_NO_THROW(sheet.insertRows(0, 1)); // a format alone may fall off
}

TEST_F(Structure, MergesAndValidationsMoveWithTheirCells) {
    sheet.merge({1, 0, 1, 2});
    ValidationRule years;
    years.formula1 = u"2025,2026";
    sheet.addValidation(Area::cell(3, 0), years);
    sheet.addValidation(Area::cell(4, 0), years);
    ASSERT_EQ(sheet.validations().size(), 1u);
    EXPECT_EQ(sheet.validations()[0].areas, std::vector<Area>{(Area{3, 0, 4, 0})}); // one run, not two cells
    sheet.insertRows(0, 2);
    EXPECT_EQ(sheet.merges(), std::vector<Area>{(Area{3, 0, 3, 2})});
    EXPECT_EQ(sheet.validationAt(5, 0), &sheet.validations()[0].rule);
    EXPECT_EQ(sheet.validationAt(3, 0), nullptr);
    sheet.removeValidation(Area::rows(5, 5));
    EXPECT_EQ(sheet.validationAt(5, 0), nullptr);
    EXPECT_NE(sheet.validationAt(6, 0), nullptr);
    sheet.deleteRows(6, 1);
    EXPECT_TRUE(sheet.validations().empty());
}

// After rows, columns and cells move, looking up a cell's rule must agree with the moved areas, and
// later cuts must find them where they are now.
TEST_F(Structure, ValidationLookupsFollowEveryKindOfMove) {
    ValidationRule years, materials, other;
    years.formula1 = u"2025,2026";
    materials.formula1 = u"报纸,杂志";
    other.formula1 = u"x";
    for (int block = 0; block < 8; ++block)
        for (int r = block * 6 + 2; r < block * 6 + 6; ++r) {
            sheet.addValidation(Area::cell(r, 0), years);
            sheet.addValidation(Area::cell(r, 1), materials);
        }
    ASSERT_EQ(sheet.validations().size(), 2u);
    EXPECT_EQ(sheet.validations()[0].areas.size(), 8u); // a run per block
    auto agree = [&](const char* after) {
        for (int r = 0; r < 60; ++r)
            for (int c = 0; c < 4; ++c) {
                const ValidationRule* listed = nullptr;
                for (const Validation& v : sheet.validations())
                    for (const Area& a : v.areas)
                        if (a.contains(r, c))
                            listed = &v.rule;
                ASSERT_EQ(sheet.validationAt(r, c), listed) << after << ": " << r << "," << c;
            }
    };
    sheet.insertRows(4, 2); // inside the first block: its runs grow
    agree("rows inserted");
    EXPECT_EQ(sheet.validationAt(4, 0), &sheet.validations()[0].rule);
    sheet.deleteRows(9, 4);
    agree("rows deleted");
    sheet.insertCells({20, 0, 21, 0}, Shift::Down);
    agree("cells shifted down");
    sheet.deleteCells({30, 1, 33, 1}, Shift::Up);
    agree("cells shifted up");
    sheet.insertColumns(0, 1);
    agree("a column inserted");
    EXPECT_EQ(sheet.validationAt(2, 0), nullptr);
    EXPECT_NE(sheet.validationAt(2, 1), nullptr);
    sheet.deleteColumns(0, 2); // the years go
    agree("columns deleted");
    EXPECT_EQ(sheet.validations().size(), 1u);
    sheet.addValidation(Area::rows(3, 3), other);
    sheet.removeValidation({0, 0, 25, 0});
    agree("cut after the moves");
    EXPECT_EQ(sheet.validationAt(3, 5), &sheet.validations()[1].rule);
    sheet.deleteRows(0, 100);
    agree("everything deleted");
    EXPECT_TRUE(sheet.validations().empty());
}

TEST_F(Structure, CellsShiftedDownRightUpAndLeft) {
    type(u"B2", u"1");
    type(u"C2", u"2");
    type(u"D2", u"3");
    type(u"A1", u"=B2+C2+D2");
    sheet.insertCells({1, 1, 1, 2}, Shift::Down); // B2:C2
    EXPECT_EQ(value(u"B3"), num(1));
    EXPECT_EQ(value(u"D2"), num(3));
    EXPECT_EQ(formula(u"A1"), u"=B3+C3+D2");
    sheet.deleteCells({1, 1, 1, 2}, Shift::Up);
    EXPECT_EQ(value(u"B2"), num(1));
    EXPECT_EQ(formula(u"A1"), u"=B2+C2+D2");
    sheet.insertCells(Area::cell(1, 1), Shift::Right);
    EXPECT_EQ(value(u"C2"), num(1));
    EXPECT_EQ(value(u"E2"), num(3));
    EXPECT_EQ(formula(u"A1"), u"=C2+D2+E2");
    sheet.deleteCells({1, 1, 1, 2}, Shift::Left); // B2:C2
    EXPECT_EQ(value(u"B2"), num(2));
    EXPECT_EQ(formula(u"A1"), u"=#REF!+B2+C2");
    EXPECT_EQ(value(u"A1"), err(ErrorCode::Ref));
}

TEST_F(Structure, InsertedColumnsLookLikeTheColumnToTheirLeft) {
    sheet.modifyFormat(Area::columns(0, 0), [](Format& f) { f.fillColorIndex = 6; });
    sheet.modifyFormat(Area::cell(2, 0), [](Format& f) { f.font.bold = true; });
    // Inserted inside a group of columns, the new column belongs to it.
    sheet.editColumn(0).outlineLevel = 2;
    sheet.editColumn(1).outlineLevel = 2;
    sheet.insertColumns(1, 1);
    EXPECT_EQ(sheet.column(1).outlineLevel, 2);
    EXPECT_EQ(sheet.column(2).outlineLevel, 2);
    EXPECT_EQ(sheet.format(0, 1).fillColorIndex, 6);
    EXPECT_TRUE(sheet.format(2, 1).font.bold);
    EXPECT_FALSE(sheet.format(2, 2).font.bold);
    sheet.insertRows(0, 1); // no row above the first: a plain row
    EXPECT_EQ(sheet.row(0), RowProperties{});
}

TEST_F(Structure, DeletingEveryRowEmptiesTheSheet) {
    twoBlocks();
    Sheet& other = book.addSheet(u"Sheet2");
    other.setFormula(0, 0, u"='征订登记'!C5");
    sheet.deleteRows(0, kRowCount);
    EXPECT_FALSE(sheet.usedArea());
    EXPECT_EQ(sheet.rowExtent(), 0);
    EXPECT_EQ(other.value(0, 0), err(ErrorCode::Ref));
    type(u"A1", u"=1");
    EXPECT_EQ(value(u"A1"), num(1));
}

TEST_F(Structure, ColumnsInsertedAndDeleted) {
    sheet.editColumn(1).width = 30;
    type(u"B1", u"5");
    type(u"A2", u"=SUM(B1:C1)+$B$1");
    sheet.insertColumns(1, 2);
    EXPECT_EQ(sheet.column(3).width, 30);
    EXPECT_EQ(value(u"D1"), num(5));
    EXPECT_EQ(formula(u"A2"), u"=SUM(D1:E1)+$D$1");
    sheet.deleteColumns(2, 2); // C and D
    EXPECT_EQ(formula(u"A2"), u"=SUM(C1:C1)+#REF!");
}

TEST_F(Structure, DetailOfASummaryRowFollowsTheOutlineSetting) {
    twoBlocks();
    EXPECT_FALSE(sheet.detailRows(1)); // summary rows below their detail by default: none above row 2
    sheet.setOutline({false, true});
    EXPECT_EQ(sheet.detailRows(1), (std::pair{2, 3}));
    EXPECT_TRUE(sheet.showDetail(1, false));
    EXPECT_TRUE(sheet.row(2).hidden && sheet.row(3).hidden && sheet.row(1).collapsed);
    EXPECT_FALSE(sheet.row(4).hidden);
    EXPECT_TRUE(sheet.showDetail(1, true));
    EXPECT_FALSE(sheet.row(2).hidden || sheet.row(1).collapsed);
    EXPECT_FALSE(sheet.showDetail(2, true)); // a detail row has no detail of its own
}

} // namespace
} // namespace engine
