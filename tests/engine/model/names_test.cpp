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
