#include "engine/formula/parser.h"
#include "engine/formula/printer.h"
#include "tests/varnel/register/register_fixture.h"

namespace {

const std::u16string amountE9 = u"=IF(OR($C$9<1,$D$9<1),\"\",PRODUCT($C$9,$D$9))";

TEST_F(RegisterTest, LastBlockOfTheSheetTakesTheEmptyRowBelow) {
    addUnit(u"市一中");
    type(u"B4", Variant(u"杂志"));

    EXPECT_EQ(level(5), 2);
    EXPECT_EQ(fill(u"C5"), 34);
    EXPECT_EQ(fontColour(u"C5"), 5);
    EXPECT_EQ(cell(u"G5")->GetBorders()->GetLineStyle().toLong(), Excel::xlDash);
    EXPECT_EQ(validation(u"A5"), u"2025,2026");
    EXPECT_EQ(validation(u"B5"), u"报纸,杂志,图书,2026年度读者,2027年度读者");
    EXPECT_EQ(formula(u"E5"), u"=IF(OR($C$5<1,$D$5<1),\"\",PRODUCT($C$5,$D$5))");
    EXPECT_EQ(text(u"G4"), u"市一中");
    EXPECT_EQ(text(u"G5"), u"");
    EXPECT_EQ(formula(u"C2"), u"=SUM($E$3:$E$5)");
    EXPECT_EQ(text(u"B2"), u"报纸、图书");
    EXPECT_NE(formula(u"B2").find(u"COUNTIF($B$4:$B$5,\"报纸\")"), std::u16string::npos);

    // Filling the rest of the row changes nothing more: the block already ends with a blank row.
    type(u"C4", Variant(3));
    type(u"D4", Variant(12.5));
    EXPECT_EQ(level(6), 1);
    EXPECT_EQ(value(u"E4").dblVal(), 37.5);
    EXPECT_EQ(value(u"C2").dblVal(), 37.5);
}

TEST_F(RegisterTest, SeparatorIsTakenFirstThenARowIsInsertedBeforeTheNextUnit) {
    addUnit(u"市一中");
    addUnit(u"县文化馆");
    addUnit(u"ABC书店");
    type(u"B4", Variant(u"报纸"));
    EXPECT_EQ(level(5), 2);
    EXPECT_EQ(text(u"A6"), u"县文化馆");

    type(u"B5", Variant(u"图书"));
    EXPECT_EQ(text(u"G5"), u"市一中");
    EXPECT_EQ(formula(u"E6"), u"=IF(OR($C$6<1,$D$6<1),\"\",PRODUCT($C$6,$D$6))");
    EXPECT_EQ(validation(u"B6"), u"报纸,杂志,图书,2026年度读者,2027年度读者");
    EXPECT_EQ(level(6), 2);
    EXPECT_EQ(fill(u"A6"), 34);
    EXPECT_EQ(formula(u"C2"), u"=SUM($E$3:$E$6)");
    EXPECT_EQ(text(u"B2"), u"杂志");

    // Every later block moved down one row, its formulas with it.
    EXPECT_EQ(text(u"A7"), u"县文化馆");
    EXPECT_EQ(level(7), 1);
    EXPECT_EQ(formula(u"C7"), u"=SUM($E$9)");
    EXPECT_NE(formula(u"B7").find(u"COUNTIF($B$9,"), std::u16string::npos);
    EXPECT_EQ(formula(u"E9"), amountE9);
    EXPECT_EQ(text(u"A11"), u"ABC书店");
    EXPECT_EQ(formula(u"C11"), u"=SUM($E$13)");
    EXPECT_EQ(formula(u"E13"), u"=IF(OR($C$13<1,$D$13<1),\"\",PRODUCT($C$13,$D$13))");

    // The moved block still grows on its own.
    type(u"B9", Variant(u"杂志"));
    EXPECT_EQ(formula(u"C7"), u"=SUM($E$8:$E$10)");
    EXPECT_EQ(text(u"G9"), u"县文化馆");
    EXPECT_EQ(text(u"A11"), u"ABC书店");
}

TEST_F(RegisterTest, EditsThatLeaveTheBlockEndingBlankDoNothing) {
    addUnit(u"市一中");
    type(u"B4", Variant(u"报纸"));
    const std::u16string total = formula(u"C2");

    // An earlier entry row, while the last one is blank.
    type(u"C4", Variant(2));
    EXPECT_EQ(level(6), 1);
    // Several cells at once in the blank last row: ignored, the block then ends filled.
    cell(u"B5:C5")->PutValue2(Variant(u"杂志"));
    EXPECT_EQ(level(6), 1);
    EXPECT_EQ(text(u"G5"), u"");
    EXPECT_EQ(formula(u"C2"), total);
    // A single cell of merged ones, as a program writes it: not an entry either.
    cell(u"B5:C5")->PutMergeCells(Variant(true));
    cell(u"B5")->PutValue2(Variant(u"图书"));
    EXPECT_EQ(level(6), 1);
    EXPECT_EQ(text(u"G5"), u"");
    // The unit row itself is not an entry row.
    type(u"D2", Variant(u"备注"));
    EXPECT_EQ(level(6), 1);
    // The next single edit in the block adds the missing blank row.
    type(u"F4", Variant(u"No.1"));
    EXPECT_EQ(level(6), 2);
    EXPECT_EQ(formula(u"C2"), u"=SUM($E$3:$E$6)");
}

// A copied entry row carries an amount formula whose absolute addresses name the row it came from. Pasted
// into a block, it computes its own row instead, and filling the block's last row that way gets the block
// its next entry row and the unit's name, as typing the row does.
TEST_F(RegisterTest, APastedEntryRowComputesItsOwnAmountAndFillingTheLastRowGrowsTheBlock) {
    addUnit(u"市一中");
    addUnit(u"县文化馆");
    type(u"B4", Variant(u"报纸"));
    type(u"C4", Variant(2));
    type(u"D4", Variant(30));
    ASSERT_EQ(text(u"A6"), u"县文化馆");

    // Into the block's blank last row, the next unit directly below it.
    cell(u"A4:G4")->Copy(Variant(cell(u"A5")));
    EXPECT_EQ(formula(u"E5"), u"=IF(OR($C$5<1,$D$5<1),\"\",PRODUCT($C$5,$D$5))");
    EXPECT_EQ(text(u"A7"), u"县文化馆");
    EXPECT_EQ(level(6), 2);
    EXPECT_EQ(formula(u"E6"), u"=IF(OR($C$6<1,$D$6<1),\"\",PRODUCT($C$6,$D$6))");
    EXPECT_EQ(validation(u"B6"), u"报纸,杂志,图书,2026年度读者,2027年度读者");
    EXPECT_EQ(formula(u"C2"), u"=SUM($E$3:$E$6)");
    type(u"C5", Variant(5));
    EXPECT_EQ(value(u"E5").dblVal(), 150);
    EXPECT_EQ(value(u"C2").dblVal(), 210);

    // Whole rows, into another unit's block: the row takes that unit's name.
    cell(u"5:5")->Copy(Variant(cell(u"A9")));
    EXPECT_EQ(text(u"G9"), u"县文化馆");
    EXPECT_EQ(formula(u"E9"), u"=IF(OR($C$9<1,$D$9<1),\"\",PRODUCT($C$9,$D$9))");
    EXPECT_EQ(value(u"C7").dblVal(), 150);
    EXPECT_EQ(level(10), 2);

    // Over an earlier row while the block ends blank: the amount only.
    cell(u"A4:G4")->Copy(Variant(cell(u"A5")));
    EXPECT_EQ(formula(u"E5"), u"=IF(OR($C$5<1,$D$5<1),\"\",PRODUCT($C$5,$D$5))");
    EXPECT_EQ(level(7), 1);

    // Several rows at once, and an amount cell alone.
    cell(u"A4:G5")->Copy(Variant(cell(u"A9")));
    EXPECT_EQ(formula(u"E9"), u"=IF(OR($C$9<1,$D$9<1),\"\",PRODUCT($C$9,$D$9))");
    EXPECT_EQ(formula(u"E10"), u"=IF(OR($C$10<1,$D$10<1),\"\",PRODUCT($C$10,$D$10))");
    cell(u"E4")->Copy(Variant(cell(u"E11")));
    EXPECT_EQ(formula(u"E11"), u"=IF(OR($C$11<1,$D$11<1),\"\",PRODUCT($C$11,$D$11))");

    // A formula of the user's own in E is theirs to keep.
    type(u"E9", Variant(u"=$C$4*2"));
    cell(u"E9")->Copy(Variant(cell(u"E11")));
    EXPECT_EQ(formula(u"E11"), u"=$C$4*2");
    // Outside the blocks a copy stays as it came.
    cell(u"A4:G4")->Copy(Variant(cell(u"A20")));
    EXPECT_EQ(formula(u"E20"), u"=IF(OR($C$4<1,$D$4<1),\"\",PRODUCT($C$4,$D$4))");
}

TEST_F(RegisterTest, EditInRowOneOfASheetWhoseRowOneIsGroupedStopsQuietly) {
    const Excel::_WorksheetPtr other = dlg._epBook->GetWorksheets()->GetItem(Variant(3));
    other->GetRange(Variant(u"1:3"))->Group();
    ASSERT_EQ(other->GetRange(Variant(u"A1"))->GetEntireRow()->GetOutlineLevel().toLong(), 2);
    // The group's last row is filled, so nothing short of the unit row search would stop the edit.
    other->GetRange(Variant(u"A2:A3"))->PutValue2(Variant(u"x"));
    other->GetRange(Variant(u"B1"))->PutValue2(Variant(u"y"));
    EXPECT_EQ(other->GetRange(Variant(u"G1"))->GetValue2().vt(), VT_EMPTY);
    EXPECT_EQ(other->GetRange(Variant(u"A4"))->GetEntireRow()->GetOutlineLevel().toLong(), 1);
    EXPECT_TRUE(user.records().empty());
}

// A group that the user began at row 2 has no unit row above it: row 2 stands for it, and the titles
// of row 1 are never written over.
TEST_F(RegisterTest, AGroupStartingAtRow2TakesRow2AsItsUnitRowAndLeavesTheTitles) {
    type(u"A2", Variant(u"市一中"));
    cell(u"2:3")->Group();
    ASSERT_EQ(level(2), 2);
    type(u"B3", Variant(u"报纸"));
    EXPECT_EQ(level(4), 2);
    EXPECT_EQ(text(u"G3"), u"市一中");
    EXPECT_EQ(formula(u"C2"), u"=SUM($E$3:$E$4)");
    EXPECT_EQ(rowTexts(dlg._epSheet, 1),
              (std::vector<std::u16string>{u"征订年度", u"资料名称", u"征订数量", u"单价", u"金额", u"票据号",
                                           u"征订单位"}));
}

} // namespace

namespace {

// The register's print area and a name over its totals grow with the row a new entry inserts.
TEST_F(RegisterTest, AnInsertedEntryRowWidensThePrintAreaAndNamesOverTheRegister) {
    addUnit(u"市一中");
    addUnit(u"县文化馆");
    engine::Workbook& book = registerSheet().workbook();
    auto define = [&](std::u16string name, std::u16string_view definition,
                      std::optional<std::uint8_t> builtIn) {
        book.defineName({std::move(name), registerSheet().id(), builtIn, false,
                         engine::formula::parse(definition, book.sheetNames())});
    };
    define(u"Print_Area", u"征订登记!$A$1:$G$9", 0x06);
    define(u"Totals", u"征订登记!$C$2:$C$9", std::nullopt);
    auto definition = [&](std::u16string_view name) {
        return engine::formula::print(book.names().find(name, registerSheet().id())->definition,
                                      book.sheetNames());
    };

    type(u"B4", Variant(u"报纸")); // takes the separator row
    EXPECT_EQ(definition(u"Print_Area"), u"'征订登记'!$A$1:$G$9");
    type(u"B5", Variant(u"图书")); // inserts a row before the next unit
    EXPECT_EQ(definition(u"Print_Area"), u"'征订登记'!$A$1:$G$10");
    EXPECT_EQ(definition(u"Totals"), u"'征订登记'!$C$2:$C$10");
}

TEST_F(RegisterTest, ARowInsertedAboveABlockMovesItsLinksFormatsCommentsFilterAndPageBreakWithIt) {
    addUnit(u"市一中");
    addUnit(u"县文化馆");
    type(u"B4", Variant(u"报纸"));
    // The second unit's block, rows 6 to 8, begins a page; its name links somewhere; its entry row's
    // amount is highlighted above a limit; a comment explains its name. An autofilter over the register
    // down to that block picks a material kind.
    engine::Sheet& sheet = registerSheet();
    sheet.setComments({{{5, 0}, u"王会计", u"新订户", {}, false, engine::defaultCommentBox({5, 0})}});
    engine::ConditionalRule high;
    high.op = engine::ValidationOperator::Greater;
    high.formula1 = engine::formula::parse(u"100", sheet.workbook().sheetNames());
    sheet.setConditionalFormats({{{engine::Area::cell(7, 4)}, {high}}});
    sheet.setHyperlinks({{engine::Area::cell(5, 0), {1, 2, 3}, u"县文化馆"}});
    sheet.setPageBreaks({{5, 0, 255}}, {});
    const engine::FilterColumn kind{1, {0x00, 0x00, 0x06, 0x02}};
    sheet.setAutoFilter(engine::AutoFilter{{0, 0, 7, 6}, false, {kind}});

    type(u"B5", Variant(u"图书")); // the first block grows by a row inserted before the second
    EXPECT_EQ(text(u"A7"), u"县文化馆");
    ASSERT_EQ(sheet.conditionalFormats().size(), 1u);
    EXPECT_EQ(sheet.conditionalFormats()[0].areas, (std::vector<engine::Area>{engine::Area::cell(8, 4)}));
    EXPECT_EQ(sheet.hyperlinks()[0].area, engine::Area::cell(6, 0));
    EXPECT_EQ(sheet.rowBreaks()[0].at, 6);
    EXPECT_EQ(sheet.comments()[0].cell, (engine::CellAddress{6, 0}));
    EXPECT_EQ(sheet.comments()[0].box, engine::defaultCommentBox({6, 0}));
    EXPECT_EQ(sheet.autoFilter(), (engine::AutoFilter{{0, 0, 8, 6}, false, {kind}}));

    // A new unit goes below: nothing of the second block moves.
    addUnit(u"ABC书店");
    EXPECT_EQ(sheet.conditionalFormats()[0].areas, (std::vector<engine::Area>{engine::Area::cell(8, 4)}));
    EXPECT_EQ(sheet.hyperlinks()[0].area, engine::Area::cell(6, 0));
    EXPECT_EQ(sheet.rowBreaks()[0].at, 6);
    EXPECT_EQ(sheet.comments()[0].cell, (engine::CellAddress{6, 0}));
    EXPECT_EQ(sheet.autoFilter()->range, (engine::Area{0, 0, 8, 6}));
}

} // namespace
