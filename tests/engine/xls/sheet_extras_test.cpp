// Page breaks, hyperlinks and conditional formats through a save and a read.
#include "engine/formula/parser.h"
#include "engine/formula/printer.h"
#include "engine/xls/xls.h"

#include <gtest/gtest.h>

using namespace engine;

TEST(SheetExtras, PageBreaksHyperlinksAndConditionalFormatsComeBackAsSaved) {
    Workbook book;
    Sheet& s = book.addSheet(u"征订登记");
    book.addSheet(u"Sheet2");
    s.setPageBreaks({{10, 0, 255}, {40, 0, 255}}, {{5, 0, kLastRow}});
    std::vector<uint8_t> target = {0xD0, 0xC9, 0xEA, 0x79, 0xF9, 0xBA, 0xCE, 0x11, 1, 2, 3};
    s.setHyperlinks({{Area{3, 0, 3, 1}, target, u"单位说明"}, {Area::cell(8, 6), {7}, {}}});
    ConditionalRule between;
    between.op = ValidationOperator::Between;
    between.formula1 = formula::parse(u"1", book.sheetNames());
    between.formula2 = formula::parse(u"$D$2*10", book.sheetNames());
    between.appearance = {0, 0, 0, 0x3C, 0x02, 0x80, 0, 0x0D, 0x00};
    ConditionalRule missing;
    missing.kind = ConditionalRule::Kind::Formula;
    missing.formula1 = formula::parse(u"AND(C4<1,$A$1<>\"\")", book.sheetNames());
    s.setConditionalFormats({{{Area{3, 4, 9, 4}, Area{12, 4, 14, 4}}, {between, missing}}});

    auto result = xls::readWorkbook(xls::workbookBytes(book), "extras.xls");
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    const Sheet& back = result.workbook->sheet(0);
    EXPECT_EQ(back.rowBreaks(), s.rowBreaks());
    EXPECT_EQ(back.columnBreaks(), s.columnBreaks());
    EXPECT_EQ(back.hyperlinks(), s.hyperlinks());
    ASSERT_EQ(back.conditionalFormats().size(), 1u);
    const ConditionalFormat& f = back.conditionalFormats()[0];
    EXPECT_EQ(f.areas, s.conditionalFormats()[0].areas);
    ASSERT_EQ(f.rules.size(), 2u);
    const auto& names = result.workbook->sheetNames();
    EXPECT_EQ(f.rules[0].kind, ConditionalRule::Kind::CellValue);
    EXPECT_EQ(f.rules[0].op, ValidationOperator::Between);
    EXPECT_EQ(formula::print(f.rules[0].formula1, names), u"1");
    EXPECT_EQ(formula::print(f.rules[0].formula2, names), u"$D$2*10");
    EXPECT_EQ(f.rules[0].appearance, between.appearance);
    EXPECT_EQ(f.rules[1].kind, ConditionalRule::Kind::Formula);
    EXPECT_EQ(formula::print(f.rules[1].formula1, names), u"AND(C4<1,$A$1<>\"\")");
    EXPECT_TRUE(f.rules[1].formula2.empty());
    EXPECT_EQ(xls::workbookBytes(*result.workbook), xls::workbookBytes(book));
}
