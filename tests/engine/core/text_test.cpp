#include "engine/core/address.h"
#include "engine/core/text.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

TEST(NumberText, ReadsWhatExcelReadsAsANumber) {
    EXPECT_EQ(readNumber(u"42"), 42);
    EXPECT_EQ(readNumber(u" -3.5 "), -3.5);
    EXPECT_EQ(readNumber(u"+.5"), 0.5);
    EXPECT_EQ(readNumber(u"1,234,567.5"), 1234567.5);
    EXPECT_EQ(readNumber(u"1.5e3"), 1500);
    EXPECT_EQ(readNumber(u"2E-2"), 0.02);
    EXPECT_EQ(readNumber(u"50%"), 0.5);
    EXPECT_EQ(readNumber(u"2024"), 2024);
    for (std::u16string_view text : {u"", u" ", u"abc", u"1,23", u"12,3456", u",123", u"1e", u"--1", u"1.2.3",
                                     u"%", u"2026年度杂志", u"1 2", u"."})
        EXPECT_FALSE(readNumber(text)) << std::string(text.begin(), text.end());
}

TEST(NumberText, WritesExcelsGeneralForm) {
    EXPECT_EQ(formatNumber(3), u"3");
    EXPECT_EQ(formatNumber(-0.25), u"-0.25");
    EXPECT_EQ(formatNumber(1.0 / 3), u"0.333333333333333");
    EXPECT_EQ(formatNumber(123456789012345.0), u"123456789012345");
    EXPECT_EQ(formatNumber(1e20), u"1E+20");
    EXPECT_EQ(formatNumber(0.1 + 0.2), u"0.3");
}

TEST(Addresses, A1TextBothWays) {
    EXPECT_EQ(columnName(0), u"A");
    EXPECT_EQ(columnName(25), u"Z");
    EXPECT_EQ(columnName(26), u"AA");
    EXPECT_EQ(columnName(255), u"IV");
    EXPECT_EQ(formatArea({5, 4, 8, 4}, true), u"$E$6:$E$9");
    EXPECT_EQ(formatArea(Area::cell(11, 4), true), u"$E$12");
    EXPECT_EQ(formatArea(Area::rows(0, 1), true), u"$1:$2");
    EXPECT_EQ(formatArea(Area::columns(1, 1), true), u"$B:$B");
    EXPECT_EQ(parseArea(u"B65536"), Area::cell(65535, 1));
    EXPECT_EQ(parseArea(u"$g$1:a1"), (Area{0, 0, 0, 6}));
    EXPECT_EQ(parseArea(u"1:2"), Area::rows(0, 1));
    EXPECT_EQ(parseArea(u"B:B"), Area::columns(1, 1));
    for (std::u16string_view bad : {u"", u"A", u"1", u"A0", u"IW1", u"A65537", u"A1:", u"A1:B", u"Sheet1"})
        EXPECT_FALSE(parseArea(bad)) << std::string(bad.begin(), bad.end());
}

} // namespace
} // namespace engine

// Case folding as Unicode's CaseFolding.txt gives it (status C and S): letters beyond ASCII fold too,
// the final sigma with the other sigmas; ideographs have no case.
TEST(FoldedText, ComparesLettersOfEveryScriptWithoutRegardToCase) {
    EXPECT_EQ(engine::compareFolded(u"ÄRGER Ñu", u"ärger ñU"), 0);
    EXPECT_EQ(engine::compareFolded(u"ΣΊΣΥΦΟΣ", u"σίσυφος"), 0);
    EXPECT_EQ(engine::compareFolded(u"ПРИВЕТ", u"привет"), 0);
    EXPECT_EQ(engine::compareFolded(u"Ａｂｃ", u"ａＢＣ"), 0); // full-width Latin
    EXPECT_EQ(engine::foldChar(u'征'), u'征');
    EXPECT_LT(engine::compareFolded(u"abc", u"ABD"), 0);
    EXPECT_GT(engine::compareFolded(u"Äb", u"äa"), 0);
}
