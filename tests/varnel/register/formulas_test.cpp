#include "varnel/register/formulas.h"

#include <gtest/gtest.h>

namespace {

using layout::missingKindsFormula;

TEST(RegisterItems, SplitAtCommasSkippingEmptyRuns) {
    using V = std::vector<std::u16string>;
    EXPECT_EQ(layout::splitItems(u"报纸,图书,杂志"), (V{u"报纸", u"图书", u"杂志"}));
    EXPECT_EQ(layout::splitItems(u",报纸,,图书,"), (V{u"报纸", u"图书"}));
    EXPECT_EQ(layout::splitItems(u" 报 纸 ,图书"), (V{u" 报 纸 ", u"图书"}));
    EXPECT_TRUE(layout::splitItems(u"").empty());
    EXPECT_TRUE(layout::splitItems(u",,,").empty());
}

TEST(RegisterFormulas, AmountAndTotalTakeTheAddressesAsGiven) {
    EXPECT_EQ(layout::amountFormula(u"$C$4", u"$D$4"), u"=IF(OR($C$4<1,$D$4<1),\"\",PRODUCT($C$4,$D$4))");
    EXPECT_EQ(layout::totalFormula(u"$E$4"), u"=SUM($E$4)");
    EXPECT_EQ(layout::totalFormula(layout::spanning(u"$E$3", u"$E$6")), u"=SUM($E$3:$E$6)");
}

TEST(RegisterFormulas, AnAmountFormulaIsKnownByItsRowAndNothingElseIs) {
    EXPECT_EQ(layout::amountFormulaRow(layout::amountFormula(u"$C$4", u"$D$4")), 4);
    EXPECT_EQ(layout::amountFormulaRow(layout::amountFormula(u"$C$65536", u"$D$65536")), 65536);
    // C and D of different rows, relative addresses, a leading zero, a user's own formula, a value.
    EXPECT_FALSE(layout::amountFormulaRow(layout::amountFormula(u"$C$4", u"$D$5")));
    EXPECT_FALSE(layout::amountFormulaRow(layout::amountFormula(u"C4", u"D4")));
    EXPECT_FALSE(layout::amountFormulaRow(u"=IF(OR($C$04<1,$D$04<1),\"\",PRODUCT($C$04,$D$04))"));
    EXPECT_FALSE(layout::amountFormulaRow(layout::amountFormula(u"$C$4", u"$D$4") + u"*2"));
    EXPECT_FALSE(layout::amountFormulaRow(u"=IF(OR($C$"));
    EXPECT_FALSE(layout::amountFormulaRow(u"60"));
}

TEST(RegisterFormulas, MissingKindsHaveOneTermPerKindJoinedByAmpersands) {
    EXPECT_EQ(missingKindsFormula(u"$B$4", u"报纸,图书"),
              u"=SUBSTITUTE(TRIM(IF(COUNTIF($B$4,\"报纸\"),\"\",\"报纸 \")&"
              u"IF(COUNTIF($B$4,\"图书\"),\"\",\"图书 \")),\" \",\"、\")");
    EXPECT_EQ(missingKindsFormula(u"$B$4:$B$6", u"杂志"),
              u"=SUBSTITUTE(TRIM(IF(COUNTIF($B$4:$B$6,\"杂志\"),\"\",\"杂志 \")),\" \",\"、\")");
    // Empty items of the stored list are no kinds.
    EXPECT_EQ(missingKindsFormula(u"$B$4", u",杂志,,"), missingKindsFormula(u"$B$4", u"杂志"));
}

TEST(RegisterFormulas, MissingKindsStayValidForAnyKindText) {
    // No kinds: a formula that shows empty text.
    EXPECT_EQ(missingKindsFormula(u"$B$4", u""), u"=SUBSTITUTE(TRIM(\"\"),\" \",\"、\")");
    EXPECT_EQ(missingKindsFormula(u"$B$4", u",,"), u"=SUBSTITUTE(TRIM(\"\"),\" \",\"、\")");
    // A double quote is doubled in both places the kind is written.
    EXPECT_EQ(
        missingKindsFormula(u"$B$4", u"\"人民\"日报"),
        u"=SUBSTITUTE(TRIM(IF(COUNTIF($B$4,\"\"\"人民\"\"日报\"),\"\",\"\"\"人民\"\"日报 \")),\" \",\"、\")");
    // COUNTIF would read * ? ~ as wildcards and a leading = < > as a comparison: such kinds are made
    // to count only equal names, while the kind shown stays as typed.
    EXPECT_EQ(missingKindsFormula(u"$B$4", u"C*?~"),
              u"=SUBSTITUTE(TRIM(IF(COUNTIF($B$4,\"C~*~?~~\"),\"\",\"C*?~ \")),\" \",\"、\")");
    EXPECT_EQ(missingKindsFormula(u"$B$4", u">5份"),
              u"=SUBSTITUTE(TRIM(IF(COUNTIF($B$4,\"=>5份\"),\"\",\">5份 \")),\" \",\"、\")");
    // A kind ending in "&" keeps it; only the joining "&" after the last term goes.
    EXPECT_EQ(missingKindsFormula(u"$B$4", u"A&"),
              u"=SUBSTITUTE(TRIM(IF(COUNTIF($B$4,\"A&\"),\"\",\"A& \")),\" \",\"、\")");
}

TEST(RegisterFormulas, KindsTooManyForOneFormulaAreSaidToBeUnlistedInEveryUnitRow) {
    auto kindsOf = [](int count) {
        std::u16string kinds;
        for (int i = 0; i < count; ++i)
            kinds += u"资料名称" + std::u16string(1, char16_t(u'A' + i % 26)) + u",";
        return kinds;
    };
    // 51 characters a term over the longest range of the sheet.
    EXPECT_TRUE(layout::missingKindsFit(kindsOf(160)));
    EXPECT_TRUE(missingKindsFormula(u"$B$65535:$B$65536", kindsOf(160)).starts_with(u"=SUBSTITUTE("));
    EXPECT_LE(missingKindsFormula(u"$B$65535:$B$65536", kindsOf(160)).size(), layout::maxFormulaLength + 1);

    // Too long for the bottom of the sheet: no unit row lists them, wherever it stands.
    EXPECT_FALSE(layout::missingKindsFit(kindsOf(161)));
    for (std::u16string_view range : {u"$B$4", u"$B$65535:$B$65536"})
        EXPECT_EQ(missingKindsFormula(range, kindsOf(161)), u"=\"（征订资料种类太长，无法列出缺订资料）\"");
}

TEST(RegisterFormulas, ExactCriterionMatchesOnlyTheWholeText) {
    EXPECT_EQ(layout::exactCriterion(u"杂志A"), u"=\"=杂志A\"");
    EXPECT_EQ(layout::exactCriterion(u"a*b?c~"), u"=\"=a~*b~?c~~\"");
    EXPECT_EQ(layout::exactCriterion(u"\"x\""), u"=\"=\"\"x\"\"\"");
    EXPECT_EQ(layout::exactCriterion(u""), u"");
}

} // namespace
