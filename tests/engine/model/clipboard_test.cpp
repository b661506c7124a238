#include "engine/core/error.h"
#include "engine/model/clipboard.h"
#include "tests/engine/model/sheet_fixture.h"

namespace engine {
namespace {

class Clipboard : public SheetTest {};

TEST_F(Clipboard, PasteWithFormulasMovesRelativeReferences) {
    type(u"A1", u"2");
    type(u"B1", u"=A1*$A$1+A$1");
    sheet.modifyFormat(Area::cell(0, 1), [](Format& f) { f.font.bold = true; });
    Snapshot s = takeSnapshot(sheet, *parseArea(u"A1:B1"));
    type(u"A5", u"3");
    Area written = paste(sheet, at(u"A4"), s, PasteMode::Formulas);
    EXPECT_EQ(written, (Area{3, 0, 3, 1}));
    EXPECT_EQ(formula(u"B4"), u"=A4*$A$1+A$1");
    EXPECT_EQ(value(u"B4"), num(6));
    EXPECT_TRUE(sheet.format(3, 1).font.bold);
    EXPECT_EQ(value(u"A5"), num(3)); // outside the pasted area
}

TEST_F(Clipboard, PasteValuesAndFormatsIntoAnotherWorkbook) {
    type(u"A1", u"2");
    type(u"B1", u"=A1*10");
    sheet.modifyFormat(Area::cell(0, 1), [](Format& f) { f.fillColorIndex = 34; });
    sheet.modifyFormat(Area::rows(0, 0), [](Format& f) { f.font.colorIndex = 5; });
    sheet.editRow(0).height = 30;
    sheet.editRow(0).customHeight = true;
    Snapshot s = takeSnapshot(sheet, Area::rows(0, 0));

    Workbook other;
    Sheet& target = other.addSheet(u"Sheet1");
    target.setValue(2, 7, Value::text(u"old"));
    paste(target, {2, 0}, s, PasteMode::ValuesAndFormats);
    EXPECT_FALSE(target.hasFormula(2, 1));
    EXPECT_EQ(target.value(2, 1), num(20));
    EXPECT_EQ(target.format(2, 1).fillColorIndex, 34);
    EXPECT_EQ(target.value(2, 7), Value()); // the whole row was replaced
    EXPECT_EQ(target.rowHeight(2), 30);
    EXPECT_EQ(target.format(2, 200).font.colorIndex, 5); // the row's own format came along
}

// Within one instance a paste may go to another workbook: the formulas find their sheets there by
// name, and keep what they showed where that workbook lacks one.
TEST_F(Clipboard, FormulasPastedIntoAnotherWorkbookReferToItsSheetsOfTheSameName) {
    Sheet& second = book.addSheet(u"Sheet2");
    second.setValue(0, 0, num(7));
    type(u"B1", u"=Sheet2!A1*2");
    book.addSheet(u"Gone").setValue(0, 0, num(1));
    type(u"B2", u"=Gone!A1+1");
    Snapshot s = takeSnapshot(sheet, *parseArea(u"B1:B2"));

    Workbook other;
    Sheet& target = other.addSheet(u"Sheet1");
    other.addSheet(u"Extra"); // the sheets' ids differ from the first workbook's
    other.addSheet(u"Sheet2").setValue(0, 0, num(50));
    paste(target, {0, 1}, s, PasteMode::Formulas);
    EXPECT_EQ(target.formulaText(0, 1), u"=Sheet2!A1*2");
    EXPECT_EQ(target.value(0, 1), num(100));
    EXPECT_FALSE(target.hasFormula(1, 1));
    EXPECT_EQ(target.value(1, 1), num(2));
}

// Whole rows bring their own row format, the default one too, and a height set by hand; a row whose
// height follows its contents stays that way where it lands.
TEST_F(Clipboard, WholeRowsPastedReplaceTheRowFormatAndKeepAnAutomaticHeightAutomatic) {
    type(u"A1", u"plain");
    sheet.modifyFormat(Area::rows(4, 4), [](Format& f) { f.fillColorIndex = 34; });
    paste(sheet, at(u"A5"), takeSnapshot(sheet, Area::rows(0, 0)), PasteMode::Formulas);
    EXPECT_EQ(sheet.row(4).format, kDefaultFormat);
    EXPECT_EQ(sheet.format(4, 200), sheet.format(20, 200));
    EXPECT_EQ(value(u"A5"), txt(u"plain"));
    EXPECT_FALSE(sheet.row(4).customHeight);

    sheet.editRow(0).height = 30;
    sheet.editRow(0).customHeight = true;
    paste(sheet, at(u"A8"), takeSnapshot(sheet, Area::rows(0, 0)), PasteMode::Formulas);
    EXPECT_TRUE(sheet.row(7).customHeight);
    EXPECT_EQ(sheet.rowHeight(7), 30);
}

TEST_F(Clipboard, RefusesAPasteThatDoesNotFit) {
    type(u"A1", u"1");
    Snapshot s = takeSnapshot(sheet, *parseArea(u"A1:A3"));
    EXPECT_THROW(paste(sheet, {kLastRow - 1, 0}, s, PasteMode::Formulas), EngineError);
}

} // namespace
} // namespace engine
