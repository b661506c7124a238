// The clipboard as a user of the front end meets it: cells cut and moved, and cells exchanged with other
// programs as tab-separated text.

#include "engine/automation/clipboard_text.h"
#include "engine/automation/user.h"
#include "tests/engine/automation/fixture.h"

namespace engine::automation::testing {
namespace {

using Rows = std::vector<std::vector<std::u16string>>;

class UserClipboard : public InstanceTest {
protected:
    user::Place here;
    Application& me() { return instance(); }
};

TEST_F(UserClipboard, CutCellsMoveWithTheirOwnReferencesAndLeaveTheirPlaceEmpty) {
    range(u"C4")->PutValue2(Variant(3));
    range(u"D4")->PutValue2(Variant(12));
    range(u"E4")->PutFormula(Variant(u"=C4*D4"));
    range(u"F4")->PutFormula(Variant(u"=$A$1+C4"));
    range(u"C4:F4")->GetFont()->PutBold(Variant(true));
    Connection events(app.get(), DIID_AppEvents);

    user::cut(me(), here, u"C4:F4");
    EXPECT_EQ(range(u"E4")->GetValue2(), Variant(36.0)); // nothing moves before the paste
    ASSERT_TRUE(user::paste(me(), here, u"C10").done);
    // References into the moved cells follow them, others stay where they pointed.
    EXPECT_EQ(range(u"E10")->GetFormula(), Variant(u"=C10*D10"));
    EXPECT_EQ(range(u"F10")->GetFormula(), Variant(u"=$A$1+C10"));
    EXPECT_EQ(range(u"E10")->GetValue2(), Variant(36.0));
    EXPECT_EQ(range(u"C10")->GetFont()->GetBold(), Variant(true));
    EXPECT_EQ(range(u"C4")->GetValue2().vt(), VT_EMPTY);
    EXPECT_EQ(range(u"C4")->GetFont()->GetBold(), Variant(false));
    auto changes = events->of(Excel::AppEvents::SheetChange);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(Excel::RangePtr(changes[0].args[1])->GetAddress(), u"$C$4:$F$4");
    EXPECT_EQ(Excel::RangePtr(changes[1].args[1])->GetAddress(), u"$C$10:$F$10");
    // A cut is pasted once; the clipboard is empty afterwards.
    EXPECT_FALSE(user::paste(me(), here, u"C20").done);
}

TEST_F(UserClipboard, ACutMovedOntoItselfShiftedKeepsTheOverlap) {
    range(u"A1")->PutValue2(Variant(1));
    range(u"A2")->PutValue2(Variant(2));
    user::cut(me(), here, u"A1:A2");
    ASSERT_TRUE(user::paste(me(), here, u"A2").done);
    EXPECT_EQ(range(u"A1")->GetValue2().vt(), VT_EMPTY);
    EXPECT_EQ(range(u"A2")->GetValue2(), Variant(1.0));
    EXPECT_EQ(range(u"A3")->GetValue2(), Variant(2.0));
}

TEST_F(UserClipboard, ACutThatDoesNotFitChangesNothingAndStaysOnTheClipboard) {
    range(u"A1:B1")->PutValue2(Variant(7));
    user::cut(me(), here, u"A1:B1");
    EXPECT_FALSE(user::paste(me(), here, u"IV1").done);
    EXPECT_EQ(range(u"A1")->GetValue2(), Variant(7.0));
    EXPECT_TRUE(user::paste(me(), here, u"A3").done);
    EXPECT_EQ(range(u"B3")->GetValue2(), Variant(7.0));
    EXPECT_EQ(range(u"B1")->GetValue2().vt(), VT_EMPTY);
}

TEST_F(UserClipboard, CopiedCellsReachOtherProgramsAsTheyShowSeparatedByTabs) {
    EXPECT_EQ(user::clipboardText(), u"");
    range(u"A1")->PutValue2(Variant(u"第一中学"));
    range(u"C1")->PutFormula(Variant(u"=2*3"));
    range(u"A2")->PutValue2(Variant(0.5));
    range(u"B2")->PutValue2(Variant(u"say \"hi\"\tthere"));
    user::copy(me(), here, u"A1:D3");
    // Only up to the last cell that holds something: no empty third row, no fourth column.
    EXPECT_EQ(user::clipboardText(), u"第一中学\t\t6\r\n0.5\t\"say \"\"hi\"\"\tthere\"\t\r\n");
}

TEST_F(UserClipboard, TextFromOtherProgramsIsEnteredAsTypedKeepingFormats) {
    range(u"B1")->GetFont()->PutBold(Variant(true));
    range(u"C2")->PutValue2(Variant(u"old"));
    Connection events(app.get(), DIID_AppEvents);
    ASSERT_TRUE(user::pasteText(me(), here, u"2026\t报纸\t=A1*2\n\t=1+\tTRUE\n", u"A1").done);
    EXPECT_EQ(range(u"A1")->GetValue2(), Variant(2026.0));
    EXPECT_EQ(range(u"B1")->GetValue2(), Variant(u"报纸"));
    EXPECT_EQ(range(u"B1")->GetFont()->GetBold(), Variant(true));
    EXPECT_EQ(range(u"C1")->GetValue2(), Variant(4052.0));
    EXPECT_EQ(range(u"A2")->GetValue2().vt(), VT_EMPTY);
    EXPECT_EQ(range(u"B2")->GetValue2(), Variant(u"=1+")); // not a formula: kept as the text it was
    EXPECT_EQ(range(u"C2")->GetValue2(), Variant(true));
    auto changes = events->of(Excel::AppEvents::SheetChange);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(Excel::RangePtr(changes[0].args[1])->GetAddress(), u"$A$1:$C$2");
    EXPECT_EQ(user::sheet(me()).selection().areas.front(), (Area{0, 0, 1, 2}));

    EXPECT_FALSE(user::pasteText(me(), here, u"", u"A1").done);
    EXPECT_FALSE(user::pasteText(me(), here, u"1\t2", u"IV1").done);
}

TEST(TabSeparated, RowsCellsQuotesAndLineEnds) {
    EXPECT_EQ(parseTabSeparated(u"a\tb\r\nc\n\td\re"), (Rows{{u"a", u"b"}, {u"c"}, {u"", u"d"}, {u"e"}}));
    EXPECT_EQ(parseTabSeparated(u"\"x\ty\"\"z\"\t\"two\r\nlines\"\n"), (Rows{{u"x\ty\"z", u"two\r\nlines"}}));
    EXPECT_EQ(parseTabSeparated(u"a\"b\t\"\""), (Rows{{u"a\"b", u""}}));
    EXPECT_EQ(parseTabSeparated(u"\n"), (Rows{{u""}}));
    EXPECT_TRUE(parseTabSeparated(u"").empty());
}

} // namespace
} // namespace engine::automation::testing
