#include "tests/varnel/register/register_fixture.h"

namespace {

using Texts = std::vector<std::u16string>;
const Texts header = {u"征订年度", u"资料名称", u"征订数量", u"单价", u"金额", u"票据号", u"征订单位"};

TEST_F(RegisterTest, FirstUnitOfAnEmptyRegisterStartsAtRow2) {
    addUnit(u"市一中");

    EXPECT_EQ(text(u"A2"), u"市一中");
    EXPECT_EQ(formula(u"C2"), u"=SUM($E$4)");
    EXPECT_EQ(formula(u"B2"),
              u"=SUBSTITUTE(TRIM(IF(COUNTIF($B$4,\"报纸\"),\"\",\"报纸 \")&"
              u"IF(COUNTIF($B$4,\"杂志\"),\"\",\"杂志 \")&IF(COUNTIF($B$4,\"图书\"),\"\",\"图书 \")),"
              u"\" \",\"、\")");
    EXPECT_EQ(text(u"B2"), u"报纸、杂志、图书");
    EXPECT_EQ(cell(u"B2")->GetHorizontalAlignment().toLong(), Excel::xlLeft);
    EXPECT_EQ(rowTexts(dlg._epSheet, 3), header);
    EXPECT_EQ(formula(u"E4"), u"=IF(OR($C$4<1,$D$4<1),\"\",PRODUCT($C$4,$D$4))");
    EXPECT_EQ(validation(u"A4"), u"2025,2026");
    EXPECT_EQ(validation(u"B4"), u"报纸,杂志,图书,2026年度读者,2027年度读者");
    EXPECT_EQ(validation(u"E4"), u"");

    EXPECT_EQ((std::vector<long>{level(2), level(3), level(4), level(5)}), (std::vector<long>{1, 2, 2, 1}));
    EXPECT_EQ(fill(u"A3"), 34);
    EXPECT_EQ(fill(u"F4"), 34);
    EXPECT_EQ(fontColour(u"G3"), 10);
    EXPECT_EQ(fontColour(u"C4"), 5);
    EXPECT_EQ(cell(u"D4")->GetBorders()->GetLineStyle().toLong(), Excel::xlDash);
    EXPECT_EQ(cell(u"D4")->GetBorders()->GetWeight().toLong(), Excel::xlThin);
    EXPECT_EQ(cell(u"A2")->GetInterior()->GetColorIndex().toLong(), Excel::xlColorIndexNone);
    EXPECT_TRUE(messages().empty());
}

TEST_F(RegisterTest, NextUnitGoesBelowTheLastBlockEvenWhenItIsCollapsed) {
    addUnit(u"市一中");
    cell(u"A2")->GetEntireRow()->PutShowDetail(Variant(short(VARIANT_FALSE)));
    ASSERT_TRUE(hidden(3) && hidden(4));

    addUnit(u"县文化馆");
    EXPECT_FALSE(hidden(3) || hidden(4));
    EXPECT_EQ(text(u"A5"), u"");
    EXPECT_EQ(level(5), 1);
    EXPECT_EQ(text(u"A6"), u"县文化馆");
    EXPECT_EQ(formula(u"C6"), u"=SUM($E$8)");
    EXPECT_EQ(rowTexts(dlg._epSheet, 7), header);

    addUnit(u"ABC书店");
    EXPECT_EQ(text(u"A10"), u"ABC书店");
}

TEST_F(RegisterTest, DuplicateNamesAndCancelledInputChangeNothing) {
    addUnit(u"ABC书店");
    addUnit(u"abc书店");
    user.queue(ui::Answer::cancel());
    dlg.OnAddUnit(nullptr, nullptr);

    EXPECT_EQ(messages(), (Texts{u"添加统计单位|该单位已经存在，不能添加相同的单位！",
                                 u"添加统计单位错误|输入类型不正确！"}));
    EXPECT_EQ(text(u"A6"), u"");
    EXPECT_EQ(level(7), 1);
    // The existing unit is shown to the user.
    EXPECT_EQ(registerSheet().selection().active.row, 1);
    EXPECT_EQ(registerSheet().selection().active.col, 0);
}

TEST_F(RegisterTest, AnyConfiguredKindsGiveAWholeBlockWithValidFormulas) {
    dlg.materialKinds = u"\"人民\"日报,C*";
    addUnit(u"市一中");
    EXPECT_EQ(text(u"B2"), u"\"人民\"日报、C*");
    type(u"B4", Variant(u"Cd"));
    EXPECT_EQ(text(u"B2"), u"\"人民\"日报、C*");
    type(u"B5", Variant(u"\"人民\"日报"));
    EXPECT_EQ(text(u"B2"), u"C*");

    dlg.materialKinds = u",,";
    addUnit(u"县文化馆");
    EXPECT_EQ(formula(u"B8"), u"=SUBSTITUTE(TRIM(\"\"),\" \",\"、\")");
    EXPECT_EQ(text(u"B8"), u"");
    EXPECT_EQ(validation(u"B10"), u",,,2026年度读者,2027年度读者");

    // A list longer than a validation can hold still gives a complete block.
    dlg.materialKinds.clear();
    for (int i = 0; i < 60; ++i)
        dlg.materialKinds += u"资料名称" + text::toUtf16(std::to_string(i)) + u",";
    addUnit(u"ABC书店");
    const std::u16string list = validation(u"B14");
    EXPECT_LE(list.size(), 255u);
    EXPECT_TRUE(list.ends_with(u",2026年度读者,2027年度读者"));
    EXPECT_EQ(formula(u"E14"), u"=IF(OR($C$14<1,$D$14<1),\"\",PRODUCT($C$14,$D$14))");
    EXPECT_EQ(formula(u"C12"), u"=SUM($E$14)");
}

TEST_F(RegisterTest, KindsTooManyToListLeaveEveryBlockWholeAndSaySo) {
    dlg.materialKinds.clear();
    for (int i = 0; i < 400; ++i)
        dlg.materialKinds += u"资料名称" + text::toUtf16(std::to_string(i)) + u",";
    addUnit(u"市一中");
    type(u"B4", Variant(u"资料名称1"));
    type(u"B5", Variant(u"资料名称2"));
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(text(u"B2"), u"（征订资料种类太长，无法列出缺订资料）");
    EXPECT_EQ(formula(u"C2"), u"=SUM($E$3:$E$6)");
    EXPECT_EQ(level(6), 2);
}

} // namespace
