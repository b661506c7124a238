#include "tests/varnel/register/register_fixture.h"

namespace {

using Texts = std::vector<std::u16string>;

TEST_F(RegisterTest, StrayValuesUnderTheRegisterNeitherStopNorSplitANewBlock) {
    addUnit(u"第一中学");
    // A note in the separator row: the next block still follows the last one.
    type(u"B5", Variant(u"备注"));
    addUnit(u"实验小学");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(text(u"A6"), u"实验小学");
    EXPECT_EQ(level(6), 1);
    EXPECT_EQ(level(7), 2);
    EXPECT_EQ(text(u"B5"), u"备注");

    // Values far below the register: the new block goes below them, whole.
    type(u"A20", Variant(u"杂项"));
    type(u"G30", Variant(12));
    addUnit(u"县文化馆");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(text(u"A31"), u"县文化馆");
    EXPECT_EQ(text(u"A32"), u"征订年度");
    EXPECT_EQ(level(33), 2);
    EXPECT_EQ(formula(u"C31"), u"=SUM($E$33)");
    EXPECT_EQ(text(u"A20"), u"杂项");
}

TEST_F(RegisterTest, AStrayTextInColumnAIsNoUnitToListOrToChoose) {
    addUnit(u"第一中学");
    type(u"A9", Variant(u"杂项"));
    type(u"A10", Variant(u"第一中学"));
    outputStatus(u"杂项");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(lastDialogItems(), (Texts{u"第一中学"}));
    for (const Excel::_ApplicationPtr& other : otherInstances())
        EXPECT_EQ(other->GetVisible(), VARIANT_FALSE);

    // The unit's own row is the one chosen, not a stray copy of its name.
    outputStatus(u"第一中学");
    ASSERT_FALSE(otherInstances().empty());
    const Excel::_ApplicationPtr shown = otherInstances().back();
    ASSERT_EQ(shown->GetVisible(), VARIANT_TRUE);
    const Excel::_WorksheetPtr block =
        shown->GetActiveWorkbook()->GetWorksheets()->GetItem(Variant(u"被查询单位征订情况"));
    EXPECT_EQ(rowTexts(block, 2)[0], u"征订年度");
}

} // namespace
