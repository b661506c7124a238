#include "engine/automation/user.h"
#include "tests/engine/automation/fixture.h"

namespace engine::automation::testing {
namespace {

class Clipboard : public InstanceTest {
protected:
    void SetUp() override {
        InstanceTest::SetUp();
        range(u"A1")->PutValue2(Variant(2));
        range(u"B1")->PutFormula(Variant(u"=A1*10"));
        range(u"B1")->GetFont()->PutBold(Variant(true));
    }
};

TEST_F(Clipboard, WithinAnInstanceFormulasMoveWithThePaste) {
    range(u"A1:B1")->Copy();
    Excel::_WorksheetPtr target(book->GetWorksheets()->GetItem(Variant(2)));
    Connection events(app.get(), DIID_AppEvents);
    target->Paste(); // at that sheet's own active cell, A1
    EXPECT_EQ(target->GetRange(Variant(u"B1"))->GetFormula(), Variant(u"=A1*10"));
    // The pasted cells are that sheet's selection now; a sheet not shown raises no selection event.
    EXPECT_EQ(user::sheet(instance(), {u"Book1", u"Sheet2"}).selection().areas.front(), (Area{0, 0, 0, 1}));
    EXPECT_TRUE(events->of(Excel::AppEvents::SheetSelectionChange).empty());
    EXPECT_EQ(events->of(Excel::AppEvents::SheetChange).size(), 1u);
    range(u"C5")->Select();
    sheet->Paste();
    EXPECT_EQ(range(u"D5")->GetFormula(), Variant(u"=C5*10"));
    EXPECT_EQ(range(u"D5")->GetValue2(), Variant(20.0));
    EXPECT_EQ(range(u"D5")->GetFont()->GetBold(), Variant(true));
}

TEST_F(Clipboard, IntoAnotherInstanceValuesAndFormatsOnly) {
    sheet->GetCells()->Copy();
    Excel::_ApplicationPtr other;
    ASSERT_EQ(createInstance(other, u"Excel.Application"), S_OK);
    Excel::_WorksheetPtr target(other->GetWorkbooks()->Add()->GetWorksheets()->GetItem(Variant(1)));
    Connection events(other.get(), DIID_AppEvents);
    target->Paste();
    auto b1 = target->GetRange(Variant(u"B1"));
    EXPECT_EQ(b1->GetValue2(), Variant(20.0));
    EXPECT_EQ(b1->GetFormula(), Variant(u"20"));
    EXPECT_EQ(b1->GetFont()->GetBold(), Variant(true));
    ASSERT_EQ(events->of(Excel::AppEvents::SheetChange).size(), 1u);
}

TEST_F(Clipboard, CopyToADestinationLeavesTheClipboardAlone) {
    range(u"A1")->Copy();
    range(u"A1:B1")->Copy(Variant(cell(3, 1)));
    EXPECT_EQ(range(u"B3")->GetFormula(), Variant(u"=A3*10"));
    range(u"F1")->Select();
    sheet->Paste();
    EXPECT_EQ(range(u"F1")->GetValue2(), Variant(2.0));
    EXPECT_EQ(range(u"G1")->GetValue2().vt(), VT_EMPTY);
}

TEST_F(Clipboard, WholeRowsPasteAtTheActiveCell) {
    range(u"1:1")->Copy();
    Excel::_WorksheetPtr target(book->GetWorksheets()->GetItem(Variant(3)));
    target->Paste();
    EXPECT_EQ(target->GetRange(Variant(u"B1"))->GetValue2(), Variant(20.0));
    // A whole row does not fit below row 1 when pasted from column B.
    target->Activate();
    target->GetRange(Variant(u"B2"))->Select();
    EXPECT_THROW(target->Paste(), ComError);
}

} // namespace
} // namespace engine::automation::testing
