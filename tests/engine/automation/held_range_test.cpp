#include "tests/engine/automation/fixture.h"

namespace engine::automation::testing {
namespace {

// A range a client keeps while the sheet's rows, columns or cells move.
using HeldRange = InstanceTest;

void expectRefused(const std::function<void()>& use) {
    try {
        use();
        ADD_FAILURE() << "a range whose cells were deleted was used";
    } catch (const ComError& e) {
        EXPECT_EQ(e.error(), static_cast<HRESULT>(0x800A03EC));
    }
}

TEST_F(HeldRange, FollowsItsRowsThroughInsertsAndDeletes) {
    Excel::RangePtr held = range(u"A10");
    held->PutValue2(Variant(u"ten"));
    Excel::RangePtr block = range(u"B3:B6");

    range(u"5:5")->Insert(Variant(Excel::xlShiftDown));
    EXPECT_EQ(held->GetAddress(), u"$A$11");
    EXPECT_EQ(held->GetRow(), 11);
    EXPECT_EQ(held->GetValue2(), Variant(u"ten"));
    EXPECT_EQ(block->GetAddress(), u"$B$3:$B$7"); // the insertion fell inside it

    range(u"12:13")->Insert(Variant(Excel::xlShiftDown));
    EXPECT_EQ(held->GetAddress(), u"$A$11");
    EXPECT_EQ(block->GetAddress(), u"$B$3:$B$7");

    range(u"4:5")->Delete();
    EXPECT_EQ(held->GetAddress(), u"$A$9");
    EXPECT_EQ(block->GetAddress(), u"$B$3:$B$5");

    // Only the cells of a column band move when cells are shifted.
    range(u"A2:A3")->Insert(Variant(Excel::xlShiftDown));
    EXPECT_EQ(held->GetAddress(), u"$A$11");
    EXPECT_EQ(block->GetAddress(), u"$B$3:$B$5");
    EXPECT_EQ(held->GetValue2(), Variant(u"ten"));
}

TEST_F(HeldRange, FollowsItsColumns) {
    Excel::RangePtr held = range(u"C2");
    Excel::RangePtr span = range(u"B1:D1");
    Excel::RangePtr row = range(u"2:2");
    range(u"C:C")->Insert(Variant(Excel::xlShiftToRight));
    EXPECT_EQ(held->GetAddress(), u"$D$2");
    EXPECT_EQ(span->GetAddress(), u"$B$1:$E$1");
    EXPECT_EQ(row->GetAddress(), u"$2:$2"); // a whole row stays whole
    range(u"A:B")->Delete();
    EXPECT_EQ(held->GetAddress(), u"$B$2");
    EXPECT_EQ(span->GetAddress(), u"$A$1:$C$1");
    range(u"B:B")->Delete();
    expectRefused([&] { held->GetAddress(); });
    EXPECT_EQ(span->GetAddress(), u"$A$1:$B$1");
}

TEST_F(HeldRange, WhoseCellsWereDeletedRefusesEveryUse) {
    Excel::RangePtr held = range(u"A8:C9");
    Excel::RangePtr partly = range(u"A9:A10");
    Excel::RangePtr below = range(u"A12");
    range(u"8:9")->Delete();
    EXPECT_EQ(partly->GetAddress(), u"$A$8");
    EXPECT_EQ(below->GetAddress(), u"$A$10");
    expectRefused([&] { held->GetAddress(); });
    expectRefused([&] { held->GetValue2(); });
    expectRefused([&] { held->PutValue2(Variant(1.0)); });
    expectRefused([&] { held->GetOffset(Variant(1)); });
    expectRefused([&] { held->GetRow(); });
    expectRefused([&] { held->GetEntireRow(); });
    expectRefused([&] { held->GetWorksheet(); });
    expectRefused([&] { app->GetWorksheetFunction()->CountBlank(held.get()); });
    // Later edits leave it gone.
    range(u"1:1")->Insert(Variant(Excel::xlShiftDown));
    expectRefused([&] { held->GetCount(); });
    EXPECT_EQ(below->GetAddress(), u"$A$11");

    // A range deleting its own cells is gone too.
    Excel::RangePtr row = range(u"3:3");
    row->Delete();
    expectRefused([&] { row->GetAddress(); });
}

TEST_F(HeldRange, TheRangeThatInsertsMovesWithTheCellsItNamed) {
    range(u"A5")->PutValue2(Variant(u"unit"));
    Excel::RangePtr n = range(u"A5");
    n->GetEntireRow()->Insert(Variant(Excel::xlShiftDown), Variant(0));
    EXPECT_EQ(n->GetAddress(), u"$A$6");
    EXPECT_EQ(n->GetValue2(), Variant(u"unit"));
    EXPECT_EQ(n->GetOffset(Variant(-1), Variant(0))->GetAddress(), u"$A$5");
}

TEST_F(HeldRange, AgreesWithFormulasThroughEdits) {
    range(u"A1")->PutFormula(Variant(u"=SUM(C4:D8)"));
    Excel::RangePtr held = range(u"C4:D8");
    range(u"6:7")->Insert(Variant(Excel::xlShiftDown));
    range(u"B:B")->Insert(Variant(Excel::xlShiftToRight));
    range(u"E5:E6")->Delete(Variant(Excel::xlShiftUp));
    range(u"D1:D2")->Insert(Variant(Excel::xlShiftDown));
    // Cells shifted in a band narrower than the range leave both in place.
    EXPECT_EQ(text(range(u"A1")->GetFormula()),
              u"=SUM(" + held->GetAddress(Variant(false), Variant(false)) + u")");
    EXPECT_EQ(held->GetAddress(), u"$D$4:$E$10");
}

TEST_F(HeldRange, OutlivesItsWorkbook) {
    Excel::RangePtr held = range(u"B2");
    Excel::_WorksheetPtr second(book->GetWorksheets()->GetItem(Variant(2)));
    Excel::RangePtr other = second->GetRange(Variant(u"A1"));
    second = nullptr;
    app->PutDisplayAlerts(VARIANT_FALSE);
    book->Close(Variant(false));
    sheet = nullptr;
    book = nullptr;
    expectRefused([&] { held->GetValue2(); });
    other = nullptr;
    expectRefused([&] { held->GetEntireRow()->GetValue2(); });
    held = nullptr; // the last holder of the closed workbook: it goes, with its sheets, after the range
}

} // namespace
} // namespace engine::automation::testing
