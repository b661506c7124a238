#include "tests/engine/automation/fixture.h"

namespace engine::automation::testing {
namespace {

using RangeTexts = InstanceTest;

TEST_F(RangeTexts, AddressesOfTheFormsThatAreWritten) {
    EXPECT_EQ(range(u"e12")->GetAddress(), u"$E$12");
    EXPECT_EQ(range(u"A1:G1")->GetAddress(), u"$A$1:$G$1");
    EXPECT_EQ(range(u"1:2")->GetAddress(), u"$1:$2");
    EXPECT_EQ(range(u"B:B")->GetAddress(), u"$B:$B");
    EXPECT_EQ(range(u"A:A,C:C,G:G")->GetAddress(), u"$A:$A,$C:$C,$G:$G");
    EXPECT_EQ(range(u"A:A,C:C,G:G")->GetCount(), 3 * 65536);
    EXPECT_EQ(sheet->GetRange(Variant(u"E9"), Variant(u"E6"))->GetAddress(), u"$E$6:$E$9");
    EXPECT_EQ(sheet->GetRange(Variant(cell(6, 5)), Variant(cell(9, 5)))->GetAddress(), u"$E$6:$E$9");
    EXPECT_EQ(range(u"B65536")->GetRow(), 65536);
    EXPECT_EQ(range(u"C7")->GetAddress(Variant(false), Variant(false)), u"C7");
    EXPECT_THROW(range(u"A65537"), ComError);
    EXPECT_THROW(range(u"IW1"), ComError);
}

TEST_F(RangeTexts, ItemsRowsAndCounts) {
    EXPECT_EQ(range(u"3:3")->GetCount(), 256);
    EXPECT_EQ(range(u"C5")->GetEntireRow()->GetCells()->GetCount(), 256);
    EXPECT_EQ(range(u"C5")->GetEntireRow()->GetAddress(), u"$5:$5");
    EXPECT_EQ(range(u"C5")->GetEntireColumn()->GetAddress(), u"$C:$C");
    EXPECT_EQ(range(u"B2:D6")->GetRows()->GetCount(), 5);
    EXPECT_EQ(range(u"B2:D6")->GetColumns()->GetCount(), 3);
    EXPECT_EQ(Excel::RangePtr(range(u"B2:D6")->GetItem(Variant(2), Variant(3)))->GetAddress(), u"$D$3");
    EXPECT_EQ(Excel::RangePtr(range(u"B2:D6")->GetItem(Variant(5)))->GetAddress(), u"$C$3");
    EXPECT_EQ(Excel::RangePtr(range(u"B2:D6")->GetRows()->GetItem(Variant(2)))->GetAddress(), u"$B$3:$D$3");
    EXPECT_EQ(Excel::RangePtr(range(u"4:5")->GetCells()->GetItem(Variant(1)))->GetAddress(), u"$A$4");
    EXPECT_EQ(cell(3, 2)->GetAddress(), u"$B$3");
}

TEST_F(RangeTexts, OffsetAndResizeStopAtTheEdges) {
    auto b2 = range(u"B2");
    EXPECT_EQ(b2->GetOffset(Variant(-1))->GetAddress(), u"$B$1");
    EXPECT_EQ(b2->GetOffset(vtMissing, Variant(1))->GetAddress(), u"$C$2");
    EXPECT_EQ(b2->GetResize(Variant(2))->GetAddress(), u"$B$2:$B$3");
    EXPECT_EQ(b2->GetResize(Variant(1), Variant(1))
                  ->GetEntireRow()
                  ->GetResize(Variant(1), Variant(1))
                  ->GetAddress(),
              u"$A$2");
    for (const std::function<void()>& bad : std::vector<std::function<void()>>{
             [&] { b2->GetOffset(Variant(-2)); }, [&] { b2->GetOffset(vtMissing, Variant(-2)); },
             [&] { range(u"A65536")->GetOffset(Variant(1)); }, [&] { b2->GetResize(Variant(65536)); },
             [&] {
                 b2->GetResize(Variant(0));
             }}) {
        try {
            bad();
            ADD_FAILURE() << "not refused";
        } catch (const ComError& e) {
            EXPECT_EQ(e.error(), XL_E_METHODFAILED);
            EXPECT_FALSE(e.description().empty());
        }
    }
}

using Values = InstanceTest;

TEST_F(Values, WrittenAsTypedAndReadWithTheirTypes) {
    range(u"A1")->PutValue2(Variant(u"12.5"));
    range(u"A2")->PutValue2(Variant(u"征订单位"));
    range(u"A3")->PutValue2(Variant(u"=A1*2"));
    range(u"A4")->PutValue2(Variant(u"true"));
    range(u"A5")->PutValue2(Variant(u"=1/0"));
    range(u"A6")->PutValue2(Variant(u"#N/A"));
    range(u"A7")->PutValue2(Variant(3));
    EXPECT_EQ(range(u"A1")->GetValue2(), Variant(12.5));
    EXPECT_EQ(range(u"A2")->GetValue2(), Variant(u"征订单位"));
    EXPECT_EQ(range(u"A3")->GetValue2(), Variant(25.0));
    EXPECT_EQ(range(u"A3")->GetFormula(), Variant(u"=A1*2"));
    EXPECT_EQ(range(u"A4")->GetValue2().vt(), VT_BOOL);
    EXPECT_EQ(range(u"A5")->GetValue2().vt(), VT_ERROR);
    EXPECT_EQ(range(u"A5")->GetValue2().scode() & 0xFFFF, 2007);
    EXPECT_EQ(range(u"A6")->GetValue2().scode() & 0xFFFF, 2042);
    EXPECT_EQ(range(u"A7")->GetValue2(), Variant(3.0));
    EXPECT_EQ(range(u"A8")->GetValue2().vt(), VT_EMPTY);
    range(u"A1")->PutValue2(Variant(u""));
    EXPECT_EQ(range(u"A1")->GetValue2().vt(), VT_EMPTY);
}

TEST_F(Values, AFormulaThatDoesNotParseIsRefusedAndChangesNothing) {
    range(u"B1")->PutValue2(Variant(u"keep"));
    try {
        range(u"B1")->PutFormula(Variant(u"=SUM(("));
        FAIL() << "accepted";
    } catch (const ComError& e) {
        EXPECT_EQ(e.error(), XL_E_METHODFAILED);
    }
    EXPECT_EQ(range(u"B1")->GetValue2(), Variant(u"keep"));
}

TEST_F(Values, AFormulaWrittenToSeveralCellsMovesWithEachCell) {
    range(u"A1:A3")->PutFormula(Variant(u"=B1+$C$1"));
    EXPECT_EQ(range(u"A3")->GetFormula(), Variant(u"=B3+$C$1"));
}

using End = InstanceTest;

TEST_F(End, UpFromTheBottomFindsTheLastFilledCell) {
    EXPECT_EQ(range(u"B65536")->GetEnd(Excel::xlUp)->GetRow(), 1);
    range(u"B1")->PutValue2(Variant(u"资料名称"));
    range(u"B3")->PutValue2(Variant(u"a"));
    range(u"B4")->PutValue2(Variant(u"b"));
    range(u"B9")->PutFormula(Variant(u"=IF(C9<1,\"\",C9)"));
    EXPECT_EQ(range(u"B9")->GetValue2(), Variant(u""));
    // A formula that shows empty text is still a filled cell.
    EXPECT_EQ(range(u"B65536")->GetEnd(Excel::xlUp)->GetRow(), 9);
    EXPECT_EQ(range(u"B9")->GetEnd(Excel::xlUp)->GetRow(), 4);
    EXPECT_EQ(range(u"B4")->GetEnd(Excel::xlUp)->GetRow(), 3);
    EXPECT_EQ(range(u"B3")->GetEnd(Excel::xlUp)->GetRow(), 1);
    EXPECT_EQ(range(u"B3")->GetEnd(Excel::xlDown)->GetRow(), 4);
    EXPECT_EQ(range(u"B4")->GetEnd(Excel::xlDown)->GetRow(), 9);
    EXPECT_EQ(range(u"B9")->GetEnd(Excel::xlDown)->GetRow(), 65536);
}

using Structure = InstanceTest;

TEST_F(Structure, InsertedRowsMoveFormulasOfTheWholeWorkbook) {
    range(u"E4")->PutFormula(Variant(u"=IF(OR($C$4<1,$D$4<1),\"\",PRODUCT($C$4,$D$4))"));
    range(u"C2")->PutFormula(Variant(u"=SUM($E$3:$E$4)"));
    Excel::_WorksheetPtr other(book->GetWorksheets()->GetItem(Variant(u"Sheet2")));
    other->GetRange(Variant(u"A1"))->PutFormula(Variant(u"=Sheet1!E4"));
    range(u"A3")->GetResize(Variant(2))->GetEntireRow()->Insert(Variant(Excel::xlShiftDown));
    EXPECT_EQ(range(u"E6")->GetFormula(), Variant(u"=IF(OR($C$6<1,$D$6<1),\"\",PRODUCT($C$6,$D$6))"));
    EXPECT_EQ(range(u"C2")->GetFormula(), Variant(u"=SUM($E$5:$E$6)"));
    EXPECT_EQ(other->GetRange(Variant(u"A1"))->GetFormula(), Variant(u"=Sheet1!E6"));
    // A range that spans the insertion point grows.
    range(u"6:6")->Insert(Variant(Excel::xlShiftDown), Variant(0));
    EXPECT_EQ(range(u"C2")->GetFormula(), Variant(u"=SUM($E$5:$E$7)"));
}

TEST_F(Structure, InsertedRowsTakeFormatAndLevelFromAbove) {
    range(u"3:3")->PutOutlineLevel(Variant(2));
    range(u"3:3")->GetInterior()->PutColorIndex(Variant(34));
    range(u"4:4")->Insert(Variant(Excel::xlShiftDown));
    EXPECT_EQ(range(u"4:4")->GetOutlineLevel(), Variant(2));
    EXPECT_EQ(range(u"D4")->GetInterior()->GetColorIndex(), Variant(34));
}

TEST_F(Structure, DeleteDecidesByShapeAndCellsDeleteEmptiesTheSheet) {
    range(u"A1")->PutValue2(Variant(u"r1"));
    range(u"A2")->PutValue2(Variant(u"r2"));
    range(u"A3")->PutValue2(Variant(u"r3"));
    range(u"B1")->PutValue2(Variant(u"b1"));
    range(u"C1")->PutValue2(Variant(u"c1"));
    range(u"D5")->PutFormula(Variant(u"=A3"));
    range(u"1:1")->Delete();
    EXPECT_EQ(range(u"A1")->GetValue2(), Variant(u"r2"));
    EXPECT_EQ(range(u"D4")->GetFormula(), Variant(u"=A2"));
    range(u"A1")->PutValue2(Variant(u"x"));
    range(u"B1")->PutValue2(Variant(u"y"));
    range(u"A1")->Delete(); // a single cell: the cells below move up
    EXPECT_EQ(range(u"A1")->GetValue2(), Variant(u"r3"));
    EXPECT_EQ(range(u"B1")->GetValue2(), Variant(u"y"));
    sheet->GetCells()->Delete();
    EXPECT_EQ(range(u"A1")->GetValue2().vt(), VT_EMPTY);
    EXPECT_EQ(range(u"A65536")->GetEnd(Excel::xlUp)->GetRow(), 1);
    EXPECT_EQ(range(u"IV1")->GetEnd(Excel::xlToLeft)->GetColumn(), 1);
}

TEST_F(Values, AnArrayFormulaIsEnteredReadAndChangedOnlyAsAWhole) {
    range(u"A1")->PutValue2(Variant(2));
    range(u"A2")->PutValue2(Variant(3));
    range(u"B1:B2")->PutFormulaArray(Variant(u"=A1:A2*10"));
    EXPECT_EQ(range(u"B2")->GetValue2(), Variant(30.0));
    EXPECT_EQ(range(u"B2")->GetFormulaArray(), Variant(u"=A1:A2*10"));
    EXPECT_EQ(range(u"B2")->GetFormula(), Variant(u"=A1:A2*10"));
    EXPECT_EQ(range(u"B1")->GetHasArray(), Variant(true));
    EXPECT_EQ(range(u"A1")->GetHasArray(), Variant(false));
    for (const std::function<void()>& bad : std::vector<std::function<void()>>{
             [&] { range(u"B2")->PutValue2(Variant(1)); },
             [&] { range(u"B2:B3")->PutFormula(Variant(u"=1")); },
             [&] { range(u"B1")->ClearContents(); },
             [&] { range(u"B2:C3")->PutFormulaArray(Variant(u"=1")); },
             [&] { range(u"2:2")->Delete(); },
         }) {
        try {
            bad();
            ADD_FAILURE() << "not refused";
        } catch (const ComError& e) {
            EXPECT_EQ(e.error(), XL_E_METHODFAILED);
            EXPECT_EQ(e.description(), u"part of an array cannot be changed");
        }
        EXPECT_EQ(range(u"B2")->GetValue2(), Variant(30.0));
    }
    range(u"B1:B2")->PutValue2(Variant(7)); // the whole array is written over
    EXPECT_EQ(range(u"B2")->GetValue2(), Variant(7.0));
    EXPECT_EQ(range(u"B2")->GetHasArray(), Variant(false));
}

} // namespace
} // namespace engine::automation::testing
