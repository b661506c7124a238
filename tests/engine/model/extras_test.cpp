// Page breaks, hyperlinks, conditional formats and comments follow the cells they belong to through
// structural edits, as Excel moves them.
#include "engine/core/error.h"
#include "engine/formula/parser.h"
#include "engine/formula/printer.h"
#include "engine/model/workbook.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {

ConditionalFormat overAHundred(const Workbook& book, const Area& area, std::u16string_view formula) {
    ConditionalRule rule;
    rule.kind = ConditionalRule::Kind::Formula;
    rule.formula1 = formula::parse(formula, book.sheetNames());
    rule.appearance = {1, 2, 3};
    return {{area}, {rule}};
}

std::u16string formulaOf(const Workbook& book, const ConditionalFormat& f) {
    return formula::print(f.rules[0].formula1, book.sheetNames());
}

} // namespace

TEST(Extras, InsertedRowsMoveWhatLiesBelowAndWidenWhatSpansThem) {
    Workbook book;
    Sheet& s = book.addSheet(u"征订登记");
    // Column E of rows 5 to 10, its rule written for E5; a link on A7; a page break before row 9 and
    // one before column D.
    s.setConditionalFormats({overAHundred(book, {4, 4, 9, 4}, u"E5>$C$2")});
    s.setHyperlinks({{Area::cell(6, 0), {9, 9}, u"说明"}});
    s.setPageBreaks({{8, 0, 255}}, {{3, 0, kLastRow}});

    s.insertRows(2, 2); // above all of them
    ASSERT_EQ(s.conditionalFormats().size(), 1u);
    EXPECT_EQ(s.conditionalFormats()[0].areas, (std::vector<Area>{{6, 4, 11, 4}}));
    EXPECT_EQ(formulaOf(book, s.conditionalFormats()[0]), u"E7>$C$2");
    EXPECT_EQ(s.hyperlinks()[0].area, Area::cell(8, 0));
    EXPECT_EQ(s.hyperlinks()[0].tooltip, u"说明");
    EXPECT_EQ(s.rowBreaks(), (std::vector<PageBreak>{{10, 0, 255}}));
    EXPECT_EQ(s.columnBreaks(), (std::vector<PageBreak>{{3, 0, kLastRow}}));

    s.insertRows(8, 1); // inside the format, at the link's row, above the break
    EXPECT_EQ(s.conditionalFormats()[0].areas, (std::vector<Area>{{6, 4, 12, 4}}));
    EXPECT_EQ(formulaOf(book, s.conditionalFormats()[0]), u"E7>$C$2");
    EXPECT_EQ(s.hyperlinks()[0].area, Area::cell(9, 0));
    EXPECT_EQ(s.rowBreaks()[0].at, 11);

    s.insertColumns(0, 1);
    EXPECT_EQ(s.conditionalFormats()[0].areas, (std::vector<Area>{{6, 5, 12, 5}}));
    EXPECT_EQ(formulaOf(book, s.conditionalFormats()[0]), u"F7>$D$2");
    EXPECT_EQ(s.columnBreaks()[0].at, 4);
}

TEST(Extras, DeletingAllTheirCellsRemovesThem) {
    Workbook book;
    Sheet& s = book.addSheet(u"Sheet1");
    s.setConditionalFormats({overAHundred(book, {4, 0, 5, 0}, u"A5>1")});
    s.setHyperlinks({{Area::cell(4, 1), {}, {}}, {Area::cell(20, 1), {}, {}}});
    s.setPageBreaks({{5, 0, 255}, {30, 0, 255}}, {});
    s.deleteRows(4, 2);
    EXPECT_TRUE(s.conditionalFormats().empty());
    ASSERT_EQ(s.hyperlinks().size(), 1u);
    EXPECT_EQ(s.hyperlinks()[0].area, Area::cell(18, 1));
    EXPECT_EQ(s.rowBreaks(), (std::vector<PageBreak>{{28, 0, 255}}));
    EXPECT_THROW(s.setHyperlinks({{Area{3, 0, 2, 0}, {}, {}}}), EngineError);
    EXPECT_EQ(s.hyperlinks().size(), 1u);
}

TEST(Extras, CommentsMoveWithTheirCellsAndGoWithThem) {
    Workbook book;
    Sheet& s = book.addSheet(u"征订登记");
    Comment unit{{4, 0}, u"王会计", u"新订户", {}, false, {1, 15, 3, 10, 3, 15, 7, 4}};
    Comment price{{9, 5}, u"", u"含邮费", {}, true, {6, 0, 9, 0, 8, 0, 12, 0}};
    s.setComments({price, unit});
    EXPECT_EQ(s.comments(), (std::vector<Comment>{unit, price})); // in the order of their cells

    s.insertRows(2, 3); // above both: cells and boxes go down together
    ASSERT_EQ(s.comments().size(), 2u);
    EXPECT_EQ(s.comments()[0].cell, (CellAddress{7, 0}));
    EXPECT_EQ(s.comments()[0].box, (CommentBox{1, 15, 6, 10, 3, 15, 10, 4}));
    EXPECT_EQ(s.comments()[1].cell, (CellAddress{12, 5}));

    s.insertColumns(2, 1); // right of the first cell, left of the second
    EXPECT_EQ(s.comments()[0].cell, (CellAddress{7, 0}));
    EXPECT_EQ(s.comments()[0].box.right, 3);
    EXPECT_EQ(s.comments()[1].cell, (CellAddress{12, 6}));
    EXPECT_EQ(s.comments()[1].box, (CommentBox{7, 0, 12, 0, 9, 0, 15, 0}));

    s.deleteRows(7, 1); // the first comment's row
    ASSERT_EQ(s.comments().size(), 1u);
    EXPECT_EQ(s.comments()[0].cell, (CellAddress{11, 6}));
    EXPECT_EQ(s.comments()[0].text, u"含邮费");

    // A box near the sheet's bottom stops there when its cell moves down.
    s.setComments({{{kLastRow - 2, 0}, u"", u"末行", {}, false, defaultCommentBox({kLastRow - 2, 0})}});
    s.insertRows(0, 1);
    EXPECT_EQ(s.comments()[0].cell.row, kLastRow - 1);
    EXPECT_EQ(s.comments()[0].box.bottom, kLastRow);

    EXPECT_THROW(s.setComments({unit, unit}), EngineError);
    EXPECT_EQ(s.comments().size(), 1u);
}

TEST(Extras, DeletingTheTopRowOfAFormatLeavesItsRulesToTheNextRow) {
    Workbook book;
    Sheet& s = book.addSheet(u"征订登记");
    // Column E of rows 5 to 10, each cell compared with its own D and with C2.
    s.setConditionalFormats({overAHundred(book, {4, 4, 9, 4}, u"AND(E5>D5,E5>$C$2)")});
    s.deleteRows(4, 1); // the top row: the rules of what was row 6 now stand in row 5
    ASSERT_EQ(s.conditionalFormats().size(), 1u);
    EXPECT_EQ(s.conditionalFormats()[0].areas, (std::vector<Area>{{4, 4, 8, 4}}));
    EXPECT_EQ(formulaOf(book, s.conditionalFormats()[0]), u"AND(E5>D5,E5>$C$2)");

    s.deleteColumns(4, 1); // the format's only column: it goes
    EXPECT_TRUE(s.conditionalFormats().empty());

    s.setConditionalFormats({overAHundred(book, {4, 3, 9, 4}, u"D5>C5")});
    s.deleteColumns(3, 1); // the left column: column E's rules go on in D, their C deleted with it
    EXPECT_EQ(s.conditionalFormats()[0].areas, (std::vector<Area>{{4, 3, 9, 3}}));
    EXPECT_EQ(formulaOf(book, s.conditionalFormats()[0]), u"D5>#REF!");

    s.setConditionalFormats({overAHundred(book, {4, 3, 9, 3}, u"D5>$C$2")});
    s.deleteRows(1, 1); // above the format: it moves up, and its reference into the deleted row breaks
    EXPECT_EQ(s.conditionalFormats()[0].areas, (std::vector<Area>{{3, 3, 8, 3}}));
    EXPECT_EQ(formulaOf(book, s.conditionalFormats()[0]), u"D4>#REF!");
}
