#include "engine/automation/range.h"
#include "tests/engine/automation/fixture.h"

namespace engine::automation::testing {
namespace {

// Two unit blocks: rows 2 and 6 are units (level 1), rows 3 to 5 and 7 to 8 their detail (level 2).
class Outline : public InstanceTest {
protected:
    void SetUp() override {
        InstanceTest::SetUp();
        range(u"3:5")->Group();
        range(u"7:8")->Group();
    }
    void summaryRows(bool below) {
        Sheet& model = RangeObject::of(range(u"A1").get()).sheet();
        model.setOutline({below, true});
    }
    bool hidden(int row) { return range(u"A1")->GetOffset(Variant(row - 1))->GetRowHeight() == Variant(0.0); }
};

TEST_F(Outline, LevelsReadAndWrittenOnWholeRows) {
    EXPECT_EQ(range(u"2:2")->GetOutlineLevel(), Variant(1));
    EXPECT_EQ(range(u"C4")->GetEntireRow()->GetOutlineLevel(), Variant(2));
    range(u"9:9")->PutOutlineLevel(Variant(2));
    EXPECT_EQ(range(u"9:9")->GetOutlineLevel(), Variant(2));
    EXPECT_THROW(range(u"C9")->PutOutlineLevel(Variant(1)), ComError);
    range(u"4:4")->Group();
    EXPECT_EQ(range(u"4:4")->GetOutlineLevel(), Variant(3));
}

TEST_F(Outline, SummaryRowsAboveTheirDetail) {
    summaryRows(false);
    range(u"2:2")->PutShowDetail(Variant(false));
    EXPECT_TRUE(hidden(3) && hidden(4) && hidden(5));
    EXPECT_FALSE(hidden(2) || hidden(6) || hidden(7));
    range(u"2:2")->PutShowDetail(Variant(short(-1)));
    EXPECT_FALSE(hidden(3) || hidden(4) || hidden(5));
    // Row 5 summarises nothing: refused, and nothing changes.
    EXPECT_THROW(range(u"5:5")->PutShowDetail(Variant(false)), ComError);
    EXPECT_FALSE(hidden(5) || hidden(6));
}

TEST_F(Outline, SummaryRowsBelowTheirDetail) {
    summaryRows(true);
    range(u"6:6")->PutShowDetail(Variant(false));
    EXPECT_TRUE(hidden(3) && hidden(5));
    EXPECT_FALSE(hidden(6) || hidden(7));
    // The unit row above its block summarises nothing in this setting.
    EXPECT_THROW(range(u"2:2")->PutShowDetail(Variant(true)), ComError);
    EXPECT_TRUE(hidden(4));
    range(u"6:6")->PutShowDetail(Variant(true));
    EXPECT_FALSE(hidden(3) || hidden(4) || hidden(5));
}

using SheetFunctions = InstanceTest;

TEST_F(SheetFunctions, CountIfAndCountBlankAsDoubles) {
    auto functions = app->GetWorksheetFunction();
    range(u"A2")->PutValue2(Variant(u"第一中学"));
    range(u"A3")->PutValue2(Variant(u"征订年度"));
    range(u"A4")->PutValue2(Variant(u"2026"));
    range(u"A5")->PutValue2(Variant(u"第一中学"));
    EXPECT_EQ(functions->CountIf(range(u"A:A"), Variant(u"第一中学")), 2.0);
    EXPECT_EQ(functions->CountIf(range(u"A:A"), Variant(u"第一*")), 2.0);
    EXPECT_EQ(functions->CountIf(range(u"A:A"), Variant(u"2026")), 1.0);
    EXPECT_EQ(functions->CountIf(range(u"A:A"), Variant(u"")), 65536.0 - 4);
    range(u"E4")->PutFormula(Variant(u"=IF(OR(C4<1,D4<1),\"\",PRODUCT(C4,D4))"));
    auto row4 = range(u"E4")->GetEntireRow();
    // The formula that shows empty text counts as blank.
    EXPECT_EQ(functions->CountBlank(row4), 255.0);
    EXPECT_EQ(functions->CountBlank(row4), static_cast<double>(row4->GetCells()->GetCount()) - 1);
    range(u"C4")->PutValue2(Variant(2));
    range(u"D4")->PutValue2(Variant(3));
    EXPECT_EQ(functions->CountBlank(row4), 252.0);
}

// The worksheet function reads the cells in place: formulas are computed first, every kind of
// criterion sees the cell's own kind, and the empty rest of a range counts as blank.
TEST_F(SheetFunctions, CountIfCriteriaOverCellsOfEveryKind) {
    auto functions = app->GetWorksheetFunction();
    range(u"B1")->PutValue2(Variant(5.0));
    range(u"B2")->PutFormula(Variant(u"=\"5\""));
    range(u"B3")->PutFormula(Variant(u"=B1*2"));
    range(u"B4")->PutFormula(Variant(u"=1/0"));
    range(u"B5")->PutValue2(Variant(u"TRUE"));
    range(u"B6")->PutFormula(Variant(u"=\"\""));
    range(u"B7")->PutValue2(Variant(u"Apple*"));
    range(u"B8")->PutValue2(Variant(u"apples"));
    const auto count = [&](const char16_t* criterion) {
        return functions->CountIf(range(u"B1:B10"), Variant(criterion));
    };
    EXPECT_EQ(count(u"5"), 2.0);   // the number and the text that reads as it
    EXPECT_EQ(count(u">=5"), 2.0); // only numbers are ordered: 5 and the formula's 10
    EXPECT_EQ(count(u"<>5"), 8.0);
    EXPECT_EQ(count(u"#DIV/0!"), 1.0);
    EXPECT_EQ(count(u"true"), 1.0);
    EXPECT_EQ(count(u"APPLE*"), 2.0);
    EXPECT_EQ(count(u"apple~*"), 1.0);
    EXPECT_EQ(count(u""), 3.0); // B9, B10 and the formula's empty text
    EXPECT_EQ(functions->CountIf(range(u"B1:B10"), Variant(10.0)), 1.0);
    // A stale formula is computed before it is matched.
    range(u"B1")->PutValue2(Variant(6.0));
    EXPECT_EQ(count(u"12"), 1.0);
    // Every area of a range counts.
    EXPECT_EQ(functions->CountIf(range(u"B1,B3,C1:C2"), Variant(u"")), 2.0);
}

// A range of another instance, no range, or a criterion that is no value: the failed method's error.
TEST_F(SheetFunctions, ArgumentsTheFunctionsCannotTakeAreRefused) {
    auto functions = app->GetWorksheetFunction();
    Excel::_ApplicationPtr other;
    ASSERT_EQ(createInstance(other, u"Excel.Application"), S_OK);
    Excel::_WorksheetPtr elsewhere(other->GetWorkbooks()->Add()->GetWorksheets()->GetItem(Variant(1)));
    const auto refusal = [](const std::function<void()>& call) {
        try {
            call();
        } catch (const ComError& e) {
            return e.error();
        }
        return S_OK;
    };
    const HRESULT failed = static_cast<HRESULT>(0x800A03EC);
    EXPECT_EQ(refusal([&] { functions->CountIf(elsewhere->GetRange(Variant(u"A1:A3")), Variant(u"x")); }),
              failed);
    EXPECT_EQ(refusal([&] { functions->CountBlank(elsewhere->GetRange(Variant(u"A1:A3"))); }), failed);
    EXPECT_EQ(refusal([&] { functions->CountIf(nullptr, Variant(u"x")); }), failed);
    EXPECT_EQ(refusal([&] { functions->CountBlank(nullptr); }), failed);
    EXPECT_EQ(refusal([&] { functions->CountIf(range(u"A1:A3"), vtMissing); }), failed);
    EXPECT_EQ(refusal([&] { functions->CountIf(range(u"A1:A3"), Variant(u"x")); }), S_OK);
}

using Layout = InstanceTest;

TEST_F(Layout, WidthsHeightsAlignmentAndMerges) {
    sheet->GetCells()->PutColumnWidth(Variant(15));
    range(u"B:B")->PutColumnWidth(Variant(150));
    sheet->GetCells()->PutRowHeight(Variant(60));
    EXPECT_EQ(range(u"C9")->GetColumnWidth(), Variant(15.0));
    EXPECT_EQ(range(u"B1")->GetColumnWidth(), Variant(150.0));
    EXPECT_EQ(range(u"A65536")->GetRowHeight(), Variant(60.0));
    EXPECT_THROW(range(u"B:B")->PutColumnWidth(Variant(256)), ComError);
    range(u"B2")->PutHorizontalAlignment(Variant(static_cast<int>(Excel::xlLeft)));
    EXPECT_EQ(range(u"B2")->GetHorizontalAlignment(), Variant(static_cast<int>(Excel::xlLeft)));
    EXPECT_EQ(range(u"B3")->GetMergeCells(), Variant(false));
    range(u"B3:C3")->PutMergeCells(Variant(true));
    EXPECT_EQ(range(u"C3")->GetMergeCells(), Variant(true));
    EXPECT_EQ(range(u"B3:D3")->GetMergeCells().vt(), VT_NULL);
}

TEST_F(Layout, AutoFitCountsLinesOfText) {
    range(u"2:2")->PutRowHeight(Variant(40));
    range(u"B2")->PutValue2(Variant(u"one line"));
    range(u"2:2")->AutoFit();
    EXPECT_EQ(range(u"B2")->GetRowHeight(), Variant(12.75));
    range(u"C2")->PutValue2(Variant(u"first\nsecond\nthird"));
    range(u"B2")->GetEntireRow()->AutoFit();
    EXPECT_EQ(range(u"B2")->GetRowHeight(), Variant(3 * 12.75));
    EXPECT_THROW(range(u"B2")->AutoFit(), ComError);
    range(u"A4")->PutValue2(Variant(u"一二三四五六七八九十"));
    range(u"A:A")->AutoFit();
    EXPECT_GT(range(u"A1")->GetColumnWidth().toDouble(), 20.0);
}

} // namespace
} // namespace engine::automation::testing
