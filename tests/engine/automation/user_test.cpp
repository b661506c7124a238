#include "engine/automation/book.h"
#include "engine/automation/user.h"
#include "tests/engine/automation/fixture.h"

namespace engine::automation::testing {
namespace {

class User : public InstanceTest {
protected:
    void SetUp() override {
        InstanceTest::SetUp();
        range(u"A4")->GetValidation()->Add(Excel::xlValidateList, Variant(1), Variant(1),
                                           Variant(u"2025,2026"));
        range(u"B4")->GetValidation()->Add(Excel::xlValidateList, Variant(1), Variant(1),
                                           Variant(u",报纸,2026年度杂志"));
        events = std::make_unique<Connection>(app.get(), DIID_AppEvents);
    }
    void TearDown() override {
        events.reset();
        InstanceTest::TearDown();
    }
    std::unique_ptr<Connection> events;
    user::Place here;
};

TEST_F(User, TypingIsCheckedAgainstTheCellsListThenRaisesSheetChange) {
    user::Outcome refused = user::type(instance(), here, u"A4", u"2024");
    EXPECT_FALSE(refused.done);
    EXPECT_FALSE(refused.message.empty());
    EXPECT_EQ(range(u"A4")->GetValue2().vt(), VT_EMPTY);
    EXPECT_TRUE((*events)->of(Excel::AppEvents::SheetChange).empty());

    EXPECT_TRUE(user::type(instance(), here, u"A4", u"2026").done);
    EXPECT_EQ(range(u"A4")->GetValue2(), Variant(2026.0)); // a chosen year is a number
    EXPECT_TRUE(user::type(instance(), here, u"B4", u"2026年度杂志").done);
    EXPECT_TRUE(user::type(instance(), here, u"B4", u"").done);
    EXPECT_FALSE(user::type(instance(), here, u"C4", u"=1+").done);
    auto changes = (*events)->of(Excel::AppEvents::SheetChange);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(Excel::RangePtr(changes[0].args[1])->GetAddress(), u"$A$4");
    // Writes through the object model are not checked.
    range(u"A4")->PutValue2(Variant(u"2024"));
    EXPECT_EQ(range(u"A4")->GetValue2(), Variant(2024.0));
    EXPECT_EQ(user::sheet(instance()).selection().active, (CellAddress{3, 2}));
}

TEST_F(User, AValidationThatShowsNoAlertTakesAnyEntry) {
    ValidationRule quiet;
    quiet.type = ValidationType::WholeNumber;
    quiet.op = ValidationOperator::Greater;
    quiet.formula1 = u"0";
    quiet.showError = false;
    instance().books().front()->model->sheet(0).addValidation(Area::cell(4, 0), quiet);
    EXPECT_TRUE(user::type(instance(), here, u"A5", u"-3").done);
    EXPECT_EQ(range(u"A5")->GetValue2(), Variant(-3.0));
}

TEST_F(User, ClearCopyAndPasteAcrossInstances) {
    range(u"A1")->PutValue2(Variant(5));
    range(u"B1")->PutFormula(Variant(u"=A1+1"));
    user::copy(instance(), here, u"A1:B1");
    Excel::_ApplicationPtr other;
    ASSERT_EQ(createInstance(other, u"Excel.Application"), S_OK);
    other->GetWorkbooks()->Add();
    auto& second = *static_cast<Application*>(other.get());
    EXPECT_TRUE(user::paste(second, {}, u"C3").done);
    EXPECT_EQ(user::cell(second, {}, u"D3").formula, u"6");
    EXPECT_TRUE(user::paste(instance(), here, u"A2").done);
    EXPECT_EQ(user::cell(instance(), here, u"B2").formula, u"=A2+1");
    user::clear(instance(), here, u"A1:B2");
    EXPECT_EQ(user::cell(instance(), here, u"B2").shown, u"");
    EXPECT_EQ((*events)->of(Excel::AppEvents::SheetChange).size(), 4u); // two writes, a paste, a clear
    EXPECT_FALSE(user::paste(instance(), here, u"IV65536").done);       // does not fit
}

// Typing into or clearing some cells of an array formula is refused with Excel's message and changes
// nothing; the whole array clears.
TEST_F(User, PartOfAnArrayIsRefusedAndTheWholeClears) {
    range(u"C1:D2")->PutFormulaArray(Variant(u"=A1:B2"));
    std::size_t changes = (*events)->of(Excel::AppEvents::SheetChange).size();
    for (user::Outcome refused :
         {user::type(instance(), here, u"C1", u"1"), user::clear(instance(), here, u"D2"),
          user::clear(instance(), here, u"B1:C1")}) {
        EXPECT_FALSE(refused.done);
        EXPECT_EQ(refused.message, u"不能更改数组的某一部分。");
    }
    EXPECT_EQ(user::cell(instance(), here, u"D2").formula, u"=A1:B2");
    EXPECT_EQ((*events)->of(Excel::AppEvents::SheetChange).size(), changes);
    EXPECT_TRUE(user::clear(instance(), here, u"C1:D2").done);
    EXPECT_EQ(user::cell(instance(), here, u"D2").formula, u"");
}

TEST_F(User, ClickingAButtonByItsCaption) {
    auto bar = app->GetCommandBars()->Add(Variant(u"Kestrova"), Variant(1), vtMissing, Variant(short(-1)));
    Office::_CommandBarButtonPtr button(bar->GetControls()->Add(Variant(1)));
    button->PutCaption(u"查找指定资料");
    Connection clicks(button.get(), DIID__CommandBarButtonEvents);
    EXPECT_FALSE(user::click(instance(), u"查找指定资料")); // the bar is not shown yet
    bar->PutVisible(VARIANT_TRUE);
    EXPECT_TRUE(user::click(instance(), u"查找指定资料"));
    EXPECT_FALSE(user::click(instance(), u"输出征订情况"));
    EXPECT_EQ(clicks->received.size(), 1u);
    auto bars = user::commandBars(instance());
    EXPECT_EQ(bars.back().name, u"Kestrova");
    EXPECT_EQ(bars.back().buttons.front().caption, u"查找指定资料");
}

TEST_F(User, CollapsingAndExpandingRaiseNothing) {
    range(u"3:5")->Group();
    EXPECT_FALSE(user::collapse(instance(), here, 4));
    EXPECT_TRUE(user::collapse(instance(), here, 6));
    EXPECT_TRUE(user::row(instance(), here, 4).hidden);
    EXPECT_TRUE(user::row(instance(), here, 6).collapsed);
    EXPECT_EQ(user::row(instance(), here, 4).outlineLevel, 2);
    user::expand(instance(), here, 6);
    EXPECT_FALSE(user::row(instance(), here, 4).hidden);
    EXPECT_TRUE((*events)->received.empty());
}

TEST_F(User, AVisibleInstanceRunsUntilItsUserQuits) {
    ScriptedPrompts prompts;
    app->PutVisible(VARIANT_TRUE);
    app->PutDisplayFormulaBar(VARIANT_FALSE);
    int number = instance().number();
    auto view = user::describe(instance());
    EXPECT_TRUE(view.visible);
    EXPECT_FALSE(view.formulaBar);
    EXPECT_EQ(view.books, std::vector<std::u16string>{u"Book1"});
    events.reset();
    sheet = nullptr;
    book = nullptr;
    app = nullptr; // the client lets go
    ComPtr<Application> running;
    for (const auto& a : runningInstances())
        if (a->number() == number)
            running = a;
    ASSERT_TRUE(running);
    user::type(*running, {}, u"C1", u"1");
    prompts.answer = SaveAnswer::Cancel;
    EXPECT_FALSE(user::quit(*running));
    prompts.answer = SaveAnswer::DontSave;
    EXPECT_TRUE(user::quit(*running));
    EXPECT_FALSE(running->running());
    for (const auto& a : runningInstances())
        EXPECT_NE(a->number(), number);
}

TEST_F(User, FindSelectsTheNextMatchingCellWrappingAround) {
    range(u"A2")->PutValue2(Variant(u"第一中学"));
    range(u"A6")->PutValue2(Variant(u"第二中学"));
    range(u"A9")->PutValue2(Variant(u"Apple"));
    range(u"B9")->PutFormula(Variant(u"=A9&\"中学\""));
    user::select(instance(), here, u"A2");
    auto found = user::find(instance(), here, u"中学", {});
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, (CellAddress{5, 0}));
    EXPECT_EQ(user::sheet(instance()).selection().active, (CellAddress{5, 0}));
    // What a formula shows is found, not its text; after the last match the search starts over.
    EXPECT_EQ(user::find(instance(), here, u"中学", {}), (CellAddress{8, 1}));
    EXPECT_EQ(user::find(instance(), here, u"中学", {}), (CellAddress{1, 0}));
    EXPECT_EQ(user::find(instance(), here, u"中学", {.previous = true}), (CellAddress{8, 1}));
    EXPECT_EQ(user::find(instance(), here, u"中学", {.wholeCell = true}), std::nullopt);
    EXPECT_EQ(user::find(instance(), here, u"第二中学", {.wholeCell = true}), (CellAddress{5, 0}));
    EXPECT_EQ(user::find(instance(), here, u"apple", {.matchCase = true}), std::nullopt);
    EXPECT_EQ(user::find(instance(), here, u"apple", {}), (CellAddress{8, 0}));
    EXPECT_TRUE(instance().findSettings().wholeCell == false && !instance().findSettings().lookInFormulas);
    // Several cells selected: only they are searched, and they stay selected.
    user::select(instance(), here, u"A1:A7");
    EXPECT_EQ(user::find(instance(), here, u"中学", {}), (CellAddress{1, 0}));
    EXPECT_EQ(user::find(instance(), here, u"中学", {}), (CellAddress{5, 0}));
    EXPECT_EQ(user::find(instance(), here, u"中学", {}), (CellAddress{1, 0}));
    EXPECT_EQ(user::sheet(instance()).selection().areas.front(), (Area{0, 0, 6, 0}));
}

TEST_F(User, FindShowsACellThatACollapsedGroupHides) {
    range(u"3:5")->Group();
    range(u"4:4")->Group();
    range(u"A4")->PutValue2(Variant(u"报纸"));
    user::collapse(instance(), here, 6); // summary rows below their detail, the default
    ASSERT_TRUE(user::row(instance(), here, 4).hidden);
    EXPECT_EQ(user::find(instance(), here, u"报纸", {}), (CellAddress{3, 0}));
    for (int r : {3, 4, 5})
        EXPECT_FALSE(user::row(instance(), here, r).hidden) << r;
    EXPECT_FALSE(user::row(instance(), here, 6).collapsed);
}

TEST_F(User, WidthsHeightsAndAutoFitOfWholeColumnsAndRows) {
    user::setColumnWidth(instance(), here, u"B:C", 20);
    EXPECT_EQ(range(u"C1")->GetColumnWidth(), Variant(20.0));
    user::setRowHeight(instance(), here, u"4:4", 30);
    EXPECT_EQ(range(u"A4")->GetRowHeight(), Variant(30.0));
    EXPECT_THROW(user::setColumnWidth(instance(), here, u"B1", 20), ComError);
    EXPECT_THROW(user::setRowHeight(instance(), here, u"4:4", 500), ComError);
    EXPECT_THROW(user::setColumnWidth(instance(), here, u"B:B", -1), ComError);

    range(u"B2")->PutValue2(Variant(u"一二三四五六七八九十")); // twenty characters wide
    user::autoFit(instance(), here, u"B:B");
    double width = range(u"B1")->GetColumnWidth().toDouble();
    EXPECT_GT(width, 20);
    EXPECT_LT(width, 22);
    user::autoFit(instance(), here, u"4:4"); // nothing in it: the default height again
    EXPECT_EQ(range(u"A4")->GetRowHeight(), Variant(12.75));
    EXPECT_THROW(user::autoFit(instance(), here, u"A1:B2"), ComError);
    EXPECT_EQ((*events)->of(Excel::AppEvents::SheetChange).size(), 1u); // the write of B2 only
}

TEST_F(User, OutlineLevelsShowAndHideEveryGroupAtOnce) {
    // Two blocks with their summary rows above, one of them with a nested group.
    instance().activeBook()->model->sheet(0).setOutline({.summaryRowsBelow = false});
    range(u"2:4")->Group();
    range(u"3:4")->Group();
    range(u"6:7")->Group();
    user::showLevels(instance(), here, 1);
    for (int r : {2, 3, 4, 6, 7})
        EXPECT_TRUE(user::row(instance(), here, r).hidden) << r;
    for (int r : {1, 5, 8})
        EXPECT_FALSE(user::row(instance(), here, r).hidden) << r;
    EXPECT_TRUE(user::row(instance(), here, 1).collapsed);
    EXPECT_TRUE(user::row(instance(), here, 2).collapsed);
    EXPECT_TRUE(user::row(instance(), here, 5).collapsed);
    user::showLevels(instance(), here, 2);
    EXPECT_FALSE(user::row(instance(), here, 2).hidden);
    EXPECT_TRUE(user::row(instance(), here, 3).hidden);
    EXPECT_FALSE(user::row(instance(), here, 1).collapsed);
    EXPECT_TRUE(user::row(instance(), here, 2).collapsed);
    // Clicking the "+" of a group expands it as the level buttons would.
    EXPECT_TRUE(user::expand(instance(), here, 2));
    user::showLevels(instance(), here, 3);
    for (int r = 1; r <= 8; ++r)
        EXPECT_FALSE(user::row(instance(), here, r).hidden) << r;
    EXPECT_FALSE(user::row(instance(), here, 2).collapsed);
    EXPECT_THROW(user::showLevels(instance(), here, 0), ComError);
}

} // namespace
} // namespace engine::automation::testing
