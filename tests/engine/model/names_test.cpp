#include "engine/formula/parser.h"
#include "engine/formula/printer.h"
#include "engine/model/workbook.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

class Names : public ::testing::Test {
protected:
    Names() : data(book.addSheet(u"Data")), other(book.addSheet(u"Other")) {}

    void define(std::u16string name, std::u16string_view definition,
                std::optional<formula::SheetId> sheet = std::nullopt) {
        book.defineName(
            {std::move(name), sheet, std::nullopt, false, formula::parse(definition, book.sheetNames())});
    }
    std::u16string definition(std::u16string_view name, formula::SheetId on) const {
        const DefinedName* n = book.names().find(name, on);
        return n ? formula::print(n->definition, book.sheetNames()) : u"(none)";
    }

    Workbook book;
    Sheet& data;
    Sheet& other;
};

TEST_F(Names, ANameStandsForItsCellsOrConstantAndASheetsOwnNameComesFirst) {
    other.setValue(0, 0, Value::number(0.1));
    for (int r = 0; r < 3; ++r)
        data.setValue(r, 1, Value::number(r + 1));
    define(u"Rate", u"Other!$A$1");
    define(u"Amounts", u"Data!$B$1:$B$3");
    define(u"Unit", u"\"件\"");
    define(u"Rate", u"0.5", other.id());
    define(u"Sum", u"SUM(Data!$B$1:$B$3)"); // a formula, not a reference or constant

    data.setFormula(0, 2, u"=rate*SUM(Amounts)");
    data.setFormula(1, 2, u"=Unit&Missing");
    data.setFormula(2, 2, u"=Sum");
    other.setFormula(1, 0, u"=Rate");
    EXPECT_DOUBLE_EQ(data.value(0, 2).asNumber(), 0.6);
    EXPECT_EQ(data.value(1, 2), Value::error(ErrorCode::Name));
    EXPECT_EQ(data.value(2, 2), Value::error(ErrorCode::Name));
    EXPECT_EQ(other.value(1, 0), Value::number(0.5));
    EXPECT_EQ(data.formulaText(0, 2), u"=rate*SUM(Amounts)");

    // The cells behind a name are read afresh, on whichever sheet they lie.
    other.setValue(0, 0, Value::number(1));
    data.setValue(2, 1, Value::number(10));
    EXPECT_DOUBLE_EQ(data.value(0, 2).asNumber(), 13);
    define(u"Unit", u"\"kg\"");
    data.setFormula(1, 2, u"=Unit");
    EXPECT_EQ(data.value(1, 2), Value::text(u"kg"));
}

// Names follow inserted and deleted rows as formulas do, even where no formula reaches.
TEST_F(Names, NamesFollowInsertedAndDeletedRows) {
    define(u"Print_Area", u"Data!$A$1:$G$5", data.id());
    define(u"Rate", u"Other!$A$3");
    define(u"Gone", u"Data!$A$9");

    data.insertRows(2, 2);
    EXPECT_EQ(definition(u"Print_Area", data.id()), u"Data!$A$1:$G$7");
    data.insertRows(7, 1); // right below: outside
    EXPECT_EQ(definition(u"Print_Area", data.id()), u"Data!$A$1:$G$7");
    EXPECT_EQ(definition(u"Gone", data.id()), u"Data!$A$12");
    data.deleteRows(0, 3);
    EXPECT_EQ(definition(u"Print_Area", data.id()), u"Data!$A$1:$G$4");
    data.deleteRows(8, 1);
    EXPECT_EQ(definition(u"Gone", data.id()), u"Data!#REF!");

    other.insertRows(0, 1);
    EXPECT_EQ(definition(u"Rate", data.id()), u"Other!$A$4");

    // A sheet's names go with it; the workbook's names that refer to it give #REF!.
    book.removeSheet(data);
    EXPECT_EQ(book.names().find(u"Print_Area", other.id()), nullptr);
    ASSERT_NE(book.names().find(u"Gone", other.id()), nullptr);
}

} // namespace
} // namespace engine

namespace engine {
namespace {

// A union, an intersection and a range are computed where Excel computes them; functions that read
// every cell of their references read every area of a union, the others see #VALUE!.
TEST_F(Names, UnionsIntersectionsAndRangesGiveTheCellsExcelGives) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            data.setValue(r, c, Value::number(10 * r + c)); // A1 = 0, B1 = 1, A2 = 10, ...
    data.setFormula(5, 0, u"=SUM((A1,B2:C3))");             // 0 + 11 + 12 + 21 + 22
    data.setFormula(5, 1, u"=COUNT((A1:A2,A1:A2))");        // counted twice, as Excel does
    data.setFormula(5, 2, u"=AREAS((A1,B1:C2,D4))");
    data.setFormula(5, 3, u"=INDEX((A1:B2,C3:D4),1,2,2)"); // D3
    data.setFormula(6, 0, u"=A1:B2 B2:C3");                // B2
    data.setFormula(6, 1, u"=A1 C3");
    data.setFormula(6, 2, u"=SUM(A1:INDEX(A1:D4,2,2))"); // A1:B2
    data.setFormula(6, 3, u"=ROWS((A1,B2))");
    data.setFormula(7, 0, u"=INDEX((A1,B2),1,1,3)");
    data.setFormula(7, 1, u"=(A1,B2)+1");
    EXPECT_EQ(data.value(5, 0), Value::number(66));
    EXPECT_EQ(data.value(5, 1), Value::number(4));
    EXPECT_EQ(data.value(5, 2), Value::number(3));
    EXPECT_EQ(data.value(5, 3), Value::number(23));
    EXPECT_EQ(data.value(6, 0), Value::number(11));
    EXPECT_EQ(data.value(6, 1), Value::error(ErrorCode::Null));
    EXPECT_EQ(data.value(6, 2), Value::number(22));
    EXPECT_EQ(data.value(6, 3), Value::error(ErrorCode::Value));
    EXPECT_EQ(data.value(7, 0), Value::error(ErrorCode::Ref));
    EXPECT_EQ(data.value(7, 1), Value::error(ErrorCode::Value));

    // The cells of a union are read afresh and its references follow inserted rows.
    data.setValue(1, 1, Value::number(100));
    EXPECT_EQ(data.value(5, 0), Value::number(155));
    data.insertRows(1, 1);
    EXPECT_EQ(data.formulaText(6, 0), u"=SUM((A1,B3:C4))");
    EXPECT_EQ(data.value(6, 0), Value::number(155));
    data.deleteRows(0, 1);
    EXPECT_EQ(data.formulaText(5, 0), u"=SUM((#REF!,B2:C3))");
    EXPECT_EQ(data.value(5, 0), Value::error(ErrorCode::Ref));

    // A print-titles name of columns and rows stands for both.
    define(u"Print_Titles", u"Data!$A:$A,Data!$1:$1", data.id());
    data.setFormula(9, 5, u"=AREAS(Print_Titles)");
    EXPECT_EQ(data.value(9, 5), Value::number(2));
}

// A name's relative references are offsets from the cell whose formula uses it, as Excel's are: the
// name reads as written relative to A1, stands for other cells in each formula, and keeps its offsets
// through inserted rows.
TEST_F(Names, ARelativeNameStandsForCellsRelativeToItsUser) {
    for (int r = 0; r < 5; ++r)
        data.setValue(r, 0, Value::number(r + 1));
    define(u"Above", u"Data!A65536"); // one row up: Excel prints offsets relative to A1
    define(u"Left", u"Data!$A1");
    data.setFormula(1, 1, u"=Left*10"); // B2: A2
    data.setFormula(2, 1, u"=Above+1"); // B3: B2
    EXPECT_EQ(data.value(1, 1), Value::number(20));
    EXPECT_EQ(data.value(2, 1), Value::number(21));
    data.setValue(1, 0, Value::number(5));
    EXPECT_EQ(data.value(2, 1), Value::number(51));
    data.insertRows(0, 1);
    EXPECT_EQ(definition(u"Left", data.id()), u"Data!$A1");
    EXPECT_EQ(definition(u"Above", data.id()), u"Data!A65536");
    EXPECT_EQ(data.value(2, 1), Value::number(50)); // B3 now, reading A3
    EXPECT_EQ(data.value(3, 1), Value::number(51));
}

} // namespace
} // namespace engine
