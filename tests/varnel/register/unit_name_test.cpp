#include "tests/varnel/register/register_fixture.h"

namespace {

using Texts = std::vector<std::u16string>;

Excel::_WorksheetPtr blockSheet(const Excel::_ApplicationPtr& output) {
    return output->GetActiveWorkbook()->GetWorksheets()->GetItem(Variant(u"被查询单位征订情况"));
}

// Unit rows 2, 6, 10, ... as long as each block keeps its single entry row.
std::u16string unitCell(int index) {
    std::string ref = "A";
    ref += std::to_string(2 + 4 * index);
    return text::toUtf16(ref);
}

TEST_F(RegisterTest, NamesAreStoredAsTheTextTypedInTheUnitRowAndInEveryEntryRow) {
    const Texts names = {
        u"=1+1", u"=HYPERLINK(\"http://x\")", u"001", u"2026", u"1e3", u"50%", u"TRUE", u"#DIV/0!", u"'引号"};
    for (const std::u16string& name : names)
        addUnit(name);
    EXPECT_TRUE(messages().empty());
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(text::toUtf8(names[i]));
        const std::u16string a = unitCell(int(i));
        EXPECT_EQ(value(a).vt(), VT_BSTR);
        EXPECT_EQ(text(a), names[i]);
        EXPECT_FALSE(registerSheet().hasFormula(int(2 + 4 * i) - 1, 0));
    }
    // Part of the entry row copies the name into G, as the same text.
    type(u"B4", Variant(u"报纸"));
    type(u"B12", Variant(u"报纸"));
    EXPECT_EQ(value(u"G4").vt(), VT_BSTR);
    EXPECT_EQ(text(u"G4"), u"=1+1");
    EXPECT_EQ(value(u"G12").vt(), VT_BSTR);
    EXPECT_EQ(text(u"G12"), u"001");
}

TEST_F(RegisterTest, ANameIsADuplicateOfItselfOnlyNeverOfWhatItMatchesAsAPattern) {
    addUnit(u"第一中学");
    addUnit(u"第*");
    addUnit(u"第?中学");
    addUnit(u"~第一中学");
    // Years in column A show "2026", yet no unit holds that name.
    type(u"A4", Variant(2026));
    addUnit(u"2026");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(text(unitCell(4)), u"2026");

    for (std::u16string again : {u"第*", u"第一中学", u"征订年度", u"2026"}) {
        SCOPED_TRACE(text::toUtf8(again));
        user.clearRecords();
        addUnit(again);
        EXPECT_EQ(messages(), (Texts{u"添加统计单位|该单位已经存在，不能添加相同的单位！"}));
    }
    // The unit that holds the name is shown, not the year that shows like it.
    EXPECT_EQ(registerSheet().selection().active.row, 1 + 4 * 4);

    // The beginning of a name is a name of its own.
    user.clearRecords();
    addUnit(u"第一");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(text(unitCell(5)), u"第一");
}

TEST_F(RegisterTest, NamesTheInputBoxCouldNotHoldOrTheListCouldNotShowAreRefused) {
    for (const std::u16string& name :
         {std::u16string(), std::u16string(256, u'名'), std::u16string(u"甲,乙")}) {
        user.clearRecords();
        addUnit(name);
        EXPECT_EQ(messages(), (Texts{u"添加统计单位错误|输入类型不正确！"}));
        EXPECT_EQ(value(u"A2").vt(), VT_EMPTY);
    }
    user.clearRecords();
    addUnit(std::u16string(255, u'名'));
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(text(u"A2"), std::u16string(255, u'名'));
}

TEST_F(RegisterTest, EveryUnitIsOfferedAndAChoiceOutputsItsOwnBlockOnly) {
    addUnit(u"第一中学");
    addUnit(u"2026");
    addUnit(u"TRUE");
    type(u"A4", Variant(2026));
    type(u"B4", Variant(u"报纸"));
    type(u"B8", Variant(u"图书"));
    outputStatus(u"2026");
    EXPECT_EQ(lastDialogItems(), (Texts{u"2026", u"TRUE", u"第一中学"}));
    ASSERT_EQ(otherInstances().size(), 1u);
    const Excel::_WorksheetPtr block = blockSheet(otherInstances()[0]);
    EXPECT_EQ(rowTexts(block, 1)[0], u"2026");
    EXPECT_EQ(rowTexts(block, 3)[1], u"图书");

    // A pattern picks no unit: nothing is output.
    for (std::u16string choice : {u"第?中学", u"第*", u"20*"}) {
        SCOPED_TRACE(text::toUtf8(choice));
        outputStatus(choice);
        for (const Excel::_ApplicationPtr& other : otherInstances())
            EXPECT_EQ(other->GetVisible(), other == otherInstances()[0] ? VARIANT_TRUE : VARIANT_FALSE);
    }
}

} // namespace
