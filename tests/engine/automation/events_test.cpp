#include "tests/engine/automation/fixture.h"

namespace engine::automation::testing {
namespace {

using namespace Excel::AppEvents;

class Events : public InstanceTest {
protected:
    void SetUp() override {
        InstanceTest::SetUp();
        events = std::make_unique<Connection>(app.get(), DIID_AppEvents);
    }
    void TearDown() override {
        events.reset();
        InstanceTest::TearDown();
    }
    std::u16string targetOf(const Sink::Event& e) { return Excel::RangePtr(e.args[1])->GetAddress(); }
    std::u16string sheetOf(const Sink::Event& e) { return Excel::_WorksheetPtr(e.args[0])->GetName(); }

    std::unique_ptr<Connection> events;
};

TEST_F(Events, SheetChangeOncePerCallWithTheChangedRange) {
    range(u"A1:C2")->PutValue2(Variant(u"x"));
    range(u"5:6")->Insert(Variant(Excel::xlShiftDown));
    range(u"B3")->ClearContents();
    range(u"7:7")->Delete();
    auto changes = (*events)->of(SheetChange);
    ASSERT_EQ(changes.size(), 4u);
    EXPECT_EQ(targetOf(changes[0]), u"$A$1:$C$2");
    EXPECT_EQ(sheetOf(changes[0]), u"Sheet1");
    EXPECT_EQ(changes[0].args[0].vt(), VT_DISPATCH);
    EXPECT_EQ(targetOf(changes[1]), u"$5:$6");
    EXPECT_EQ(targetOf(changes[2]), u"$B$3");
    EXPECT_EQ(targetOf(changes[3]), u"$7:$7");
}

TEST_F(Events, FormatValidationAndOutlineChangesRaiseNothing) {
    auto row = range(u"4:4");
    row->GetBorders()->PutLineStyle(Variant(static_cast<int>(Excel::xlDash)));
    row->GetInterior()->PutColorIndex(Variant(34));
    row->GetFont()->PutColorIndex(Variant(5));
    row->PutOutlineLevel(Variant(2));
    row->Group();
    range(u"A4")->GetValidation()->Add(Excel::xlValidateList, Variant(1), Variant(1), Variant(u"2025,2026"));
    range(u"A4")->GetValidation()->Delete();
    range(u"B:B")->PutColumnWidth(Variant(30));
    range(u"2:2")->AutoFit();
    EXPECT_TRUE((*events)->of(SheetChange).empty());
}

TEST_F(Events, AHandlersWriteRaisesTheNestedEventBeforeItReturns) {
    std::vector<std::u16string> order;
    (*events)->onEvent = [&](DISPID id, DISPPARAMS& params) {
        if (id != SheetChange)
            return;
        // Arguments come last-first: the changed range is rgvarg[0].
        std::u16string address = Excel::RangePtr(params.rgvarg[0])->GetAddress();
        order.push_back(u"enter " + address);
        if (address == u"$C$4")
            range(u"G4")->PutValue2(Variant(u"unit"));
        order.push_back(u"leave " + address);
    };
    range(u"C4")->PutValue2(Variant(5));
    EXPECT_EQ(order,
              (std::vector<std::u16string>{u"enter $C$4", u"enter $G$4", u"leave $G$4", u"leave $C$4"}));
    EXPECT_EQ(range(u"G4")->GetValue2(), Variant(u"unit"));
}

TEST_F(Events, ChangesInAnyWorkbookOfTheInstanceAndNotInOthers) {
    auto second = app->GetWorkbooks()->Add();
    Excel::_WorksheetPtr(second->GetWorksheets()->GetItem(Variant(2)))
        ->GetRange(Variant(u"A1"))
        ->PutValue2(Variant(1));
    Excel::_ApplicationPtr other;
    ASSERT_EQ(createInstance(other, u"Excel.Application"), S_OK);
    Excel::_WorksheetPtr(other->GetWorkbooks()->Add()->GetWorksheets()->GetItem(Variant(1)))
        ->GetRange(Variant(u"A1"))
        ->PutValue2(Variant(1));
    auto changes = (*events)->of(SheetChange);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(sheetOf(changes[0]), u"Sheet2");
}

TEST_F(Events, ActivationAndSelection) {
    auto second = app->GetWorkbooks()->Add();
    book->Activate();
    sheet->Activate(); // already the active sheet: nothing
    Excel::_WorksheetPtr(book->GetWorksheets()->GetItem(Variant(3)))->Activate();
    sheet->Activate();
    range(u"B2")->Select();
    range(u"B2")->Select();
    auto& received = (*events)->received;
    std::vector<DISPID> ids;
    for (const auto& e : received)
        ids.push_back(e.id);
    EXPECT_EQ(ids, (std::vector<DISPID>{NewWorkbook, WorkbookActivate, WorkbookActivate, SheetActivate,
                                        SheetActivate, SheetSelectionChange}));
    EXPECT_EQ(Excel::_WorkbookPtr(received[1].args[0])->GetName(), u"Book2");
    EXPECT_EQ(Excel::_WorkbookPtr(received[2].args[0])->GetName(), u"Book1");
    EXPECT_EQ(sheetOf(received[3]), u"Sheet3");
    EXPECT_EQ(targetOf(received[5]), u"$B$2");
    // Cells of a sheet that is not shown cannot be selected.
    Excel::_WorksheetPtr hidden(second->GetWorksheets()->GetItem(Variant(1)));
    EXPECT_THROW(hidden->GetRange(Variant(u"A1"))->Select(), ComError);
}

TEST_F(Events, AFailingHandlerDoesNotUndoOrFailTheChange) {
    (*events)->onEvent = [&](DISPID id, DISPPARAMS&) {
        if (id == SheetChange)
            range(u"A0"); // not a cell: the handler fails here
    };
    range(u"B2")->PutValue2(Variant(7));
    range(u"B3")->PutValue2(Variant(8));
    EXPECT_EQ(range(u"B2")->GetValue2(), Variant(7.0));
    EXPECT_EQ(instance().takeHandlerFailures().size(), 2u);
    EXPECT_TRUE(instance().takeHandlerFailures().empty());
}

TEST_F(Events, ASinkUnadvisedGetsNothingMore) {
    events.reset();
    Connection later(app.get(), DIID_AppEvents);
    range(u"A1")->PutValue2(Variant(1));
    EXPECT_EQ(later->of(SheetChange).size(), 1u);
}

} // namespace
} // namespace engine::automation::testing
