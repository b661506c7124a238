#include "engine/xls/xls.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace engine;

TEST(Bundled, RegisterWorkbookHasTheLayoutTheProgramExpects) {
    auto result = xls::readWorkbook(std::filesystem::path(VARNEL_SOURCE_DIR) / "data" / "Ombrell.xls");
    EXPECT_TRUE(result.dropped.empty());
    const Workbook& book = *result.workbook;
    ASSERT_EQ(book.sheetCount(), 2);
    const Sheet& reg = book.sheet(0);
    EXPECT_EQ(reg.name(), u"征订登记");
    EXPECT_EQ(book.sheet(1).name(), u"Sheet2");
    EXPECT_FALSE(book.sheet(1).usedArea());
    const char16_t* titles[] = {u"征订年度", u"资料名称", u"征订数量", u"单价",
                                u"金额",     u"票据号",   u"征订单位"};
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(reg.value(0, c), Value::text(titles[c]));
        EXPECT_GE(reg.column(c).width, 8.0);
    }
    EXPECT_EQ(reg.usedArea(), Area(0, 0, 0, 6));
    EXPECT_FALSE(reg.outline().summaryRowsBelow); // a unit row is the summary above its block
}

TEST(Bundled, ConfigurationIsUtf16WithTheSectionAndKeys) {
    std::ifstream in(std::filesystem::path(VARNEL_SOURCE_DIR) / "data" / "TessikConfig.ini",
                     std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(char16_t(bytes[i] | bytes[i + 1] << 8));
    EXPECT_NE(text.find(u"[征订资料]\r\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"征订资料种类=报纸,杂志,图书,年鉴\r\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"杂志="), std::u16string::npos);
}
