// References that functions make from text and offsets: other sheets, and results that follow the cells
// they point at although no argument names them.
#include "engine/formula/parser.h"
#include "engine/model/sheet.h"
#include "engine/model/workbook.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

TEST(References, IndirectReadsANamedSheetAndFollowsItsCells) {
    Workbook book;
    Sheet& first = book.addSheet(u"Sheet1");
    Sheet& data = book.addSheet(u"Q1 data");
    data.setValue(1, 1, Value::number(7));
    first.setValue(0, 0, Value::text(u"'Q1 data'!B2"));
    first.setFormula(0, 1, u"=INDIRECT(A1)*2");
    first.setFormula(0, 2, u"=INDIRECT(\"'q1 DATA'!R2C2\",FALSE)");
    first.setFormula(0, 3, u"=INDIRECT(\"Missing!B2\")");
    EXPECT_EQ(first.value(0, 1), Value::number(14));
    EXPECT_EQ(first.value(0, 2), Value::number(7));
    EXPECT_EQ(first.value(0, 3), Value::error(ErrorCode::Ref));
    data.setValue(1, 1, Value::number(8));
    EXPECT_EQ(first.value(0, 1), Value::number(16));
    first.setValue(0, 0, Value::text(u"B3"));
    data.setValue(2, 1, Value::number(1));
    EXPECT_EQ(first.value(0, 1), Value::number(0)); // B3 of its own sheet, empty
}

TEST(References, IndirectReadsTheCellsANameStandsFor) {
    Workbook book;
    Sheet& sheet = book.addSheet(u"Sheet1");
    Sheet& data = book.addSheet(u"Data");
    data.setValue(0, 1, Value::number(2));
    data.setValue(1, 1, Value::number(3));
    book.defineName({u"Amounts", std::nullopt, std::nullopt, false,
                     formula::parse(u"Data!$B$1:$B$2", book.sheetNames())});
    sheet.setFormula(0, 0, u"=SUM(INDIRECT(\"amounts\"))");
    sheet.setFormula(0, 1, u"=INDIRECT(\"Unknown\")");
    EXPECT_EQ(sheet.value(0, 0), Value::number(5));
    EXPECT_EQ(sheet.value(0, 1), Value::error(ErrorCode::Ref));
}

TEST(References, OffsetResultsFollowCellsNoArgumentNames) {
    Workbook book;
    Sheet& sheet = book.addSheet(u"Sheet1");
    for (int r = 0; r < 4; ++r)
        sheet.setValue(r, 0, Value::number(r + 1));
    sheet.setFormula(0, 1, u"=SUM(OFFSET(A1,1,0,2,1))");
    sheet.setFormula(0, 2, u"=OFFSET(A1,3,0)");
    sheet.setFormula(0, 3, u"=A3*10");
    sheet.setFormula(1, 1, u"=SUM(OFFSET(A1,0,3))");
    EXPECT_EQ(sheet.value(0, 1), Value::number(5));
    EXPECT_EQ(sheet.value(0, 2), Value::number(4));
    EXPECT_EQ(sheet.value(1, 1), Value::number(30)); // a formula it points at is computed first
    sheet.setValue(2, 0, Value::number(10));
    EXPECT_EQ(sheet.value(0, 1), Value::number(12));
    EXPECT_EQ(sheet.value(1, 1), Value::number(100));
}

} // namespace
} // namespace engine
