#include "tests/engine/automation/fixture.h"

namespace engine::automation::testing {
namespace {

// A small register: titles in row 1, a unit block, a second unit with entries.
class AdvancedFilter : public InstanceTest {
protected:
    void SetUp() override {
        InstanceTest::SetUp();
        const std::vector<std::vector<const char16_t*>> rows = {
            {u"年度", u"资料名称", u"数量", u"单价", u"金额", u"票据号", u"征订单位"},
            {u"第一中学", u"=\"杂志\"", u"", u"", u"", u"", u""},
            {u"征订年度", u"资料名称", u"征订数量", u"单价", u"金额", u"票据号", u"征订单位"},
            {u"2026", u"2026年度杂志", u"3", u"10", u"=C4*D4", u"A1", u"第一中学"},
            {u"2026", u"报纸", u"1", u"5", u"=C5*D5", u"A2", u"第一中学"},
            {u"", u"", u"", u"", u"", u"", u""},
            {u"2024", u"", u"", u"", u"", u"", u""},
            {u"新华书店", u"", u"", u"", u"", u"", u""},
            {u"2025", u"2025年度杂志", u"2", u"10", u"=C9*D9", u"B1", u"新华书店"},
            {u"2025", u"2025年度杂志", u"2", u"10", u"=C10*D10", u"B1", u"新华书店"},
        };
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                if (*rows[r][c])
                    cell(static_cast<int>(r + 1), static_cast<int>(c + 1))->PutValue2(Variant(rows[r][c]));
        range(u"A4:G4")->GetInterior()->PutColorIndex(Variant(34));
        scratch = book->GetWorksheets()->GetItem(Variant(u"Sheet2"));
    }

    // Runs the filter over A1:G10 into Sheet2!A3 and reads back column `col` of the copy below its title.
    std::vector<std::u16string> run(const char16_t* criteria, bool unique, int col = 1) {
        range(u"A1:G10")->AdvancedFilter(Excel::xlFilterCopy, Variant(scratch->GetRange(Variant(criteria))),
                                         Variant(scratch->GetCells()->GetItem(Variant(3), Variant(1))),
                                         Variant(short(unique ? -1 : 0)));
        std::vector<std::u16string> values;
        int last = 3;
        for (const char16_t* bottom : {u"A65536", u"B65536", u"E65536", u"G65536"})
            last = std::max(
                last, static_cast<int>(scratch->GetRange(Variant(bottom))->GetEnd(Excel::xlUp)->GetRow()));
        for (int r = 4; r <= last; ++r) {
            Variant v = scratch->GetCells()->GetItem(Variant(r), Variant(col));
            Variant value = Excel::RangePtr(v)->GetValue2();
            values.push_back(value.vt() == VT_BSTR    ? value.bstrVal()
                             : value.vt() == VT_EMPTY ? u""
                                                      : value.toString());
        }
        return values;
    }
    void criterion(const char16_t* at, const char16_t* value) {
        scratch->GetRange(Variant(at))->PutValue2(Variant(value));
    }

    Excel::_WorksheetPtr scratch;
};

using Rows = std::vector<std::u16string>;

TEST_F(AdvancedFilter, PlainTextBeginsWithAndNotEmpty) {
    range(u"A1:G1")->Copy(Variant(scratch->GetRange(Variant(u"A1"))));
    criterion(u"B2", u"2025年度");
    criterion(u"G2", u"<>");
    EXPECT_EQ(run(u"A1:G2", false, 2), (Rows{u"2025年度杂志", u"2025年度杂志"}));
    EXPECT_EQ(scratch->GetRange(Variant(u"A3"))->GetValue2(), Variant(u"年度"));
    criterion(u"B2", u"");
    // Every row with a unit, the column-header row included.
    EXPECT_EQ(run(u"A1:G2", false, 7),
              (Rows{u"征订单位", u"第一中学", u"第一中学", u"新华书店", u"新华书店"}));
}

TEST_F(AdvancedFilter, ExactTextTitlesWithoutCaseAndAlternativeRows) {
    scratch->GetRange(Variant(u"A1"))->PutValue2(Variant(u"资料名称"));
    criterion(u"A2", u"'=报纸");
    criterion(u"A3", u"'=2025年度");
    EXPECT_EQ(run(u"A1:A3", false, 2), (Rows{u"报纸"}));
}

TEST_F(AdvancedFilter, UniqueLeavesOutRepeatedRowsAndValuesComeWithoutFormulas) {
    scratch->GetRange(Variant(u"A1"))->PutValue2(Variant(u"征订单位"));
    criterion(u"A2", u"新华");
    EXPECT_EQ(run(u"A1:A2", false, 5), (Rows{u"20", u"20"}));
    EXPECT_EQ(run(u"A1:A2", true, 5), (Rows{u"20"}));
    EXPECT_EQ(scratch->GetRange(Variant(u"E4"))->GetFormula(), Variant(u"20"));
}

TEST_F(AdvancedFilter, AFormulaUnderAnEmptyTitleIsComputedForEachRow) {
    criterion(u"B2", u"=AND(ISERROR(A2*1),A2<>\"征订年度\")");
    EXPECT_EQ(run(u"B1:B2", true, 1), (Rows{u"第一中学", u"新华书店"}));
    EXPECT_EQ(run(u"B1:B2", true, 2), (Rows{u"杂志", u""}));
    // Formats come along; the list's own formulas are left alone.
    EXPECT_EQ(range(u"E4")->GetFormula(), Variant(u"=C4*D4"));
}

TEST_F(AdvancedFilter, AComputedCriterionMovesOnlyItsRelativeReferences) {
    Excel::_WorksheetPtr(book->GetWorksheets()->GetItem(Variant(u"Sheet3")))
        ->GetRange(Variant(u"A1"))
        ->PutValue2(Variant(1.5));
    criterion(u"B2", u"=C2>=$C$9");
    // The column-header row passes too: a text compares above every number.
    EXPECT_EQ(run(u"B1:B2", false, 2),
              (Rows{u"资料名称", u"2026年度杂志", u"2025年度杂志", u"2025年度杂志"}));
    criterion(u"B2", u"=AND(C2>Sheet3!$A$1,C$4>C2)");
    EXPECT_EQ(run(u"B1:B2", false, 2), (Rows{u"2025年度杂志", u"2025年度杂志"}));
    // Moved past the sheet's last row a reference is #REF!: from the eighth data row on.
    criterion(u"B2", u"=ISERROR(A65530)");
    EXPECT_EQ(run(u"B1:B2", false, 6), (Rows{u"B1", u"B1"}));
}

TEST_F(AdvancedFilter, ACriterionFromAnotherWorkbookNamingASheetTheListsLacksPassesNoRow) {
    Excel::_WorkbookPtr other = app->GetWorkbooks()->Add();
    Excel::_WorksheetPtr criteria = other->GetWorksheets()->GetItem(Variant(1));
    Excel::_WorksheetPtr(other->GetWorksheets()->GetItem(Variant(2)))->PutName(u"Extra");
    criteria->GetRange(Variant(u"B2"))->PutValue2(Variant(u"=A2=\"新华书店\""));
    auto filter = [&] {
        range(u"A1:G10")->AdvancedFilter(Excel::xlFilterCopy, Variant(criteria->GetRange(Variant(u"B1:B2"))),
                                         Variant(scratch->GetRange(Variant(u"A1"))), Variant(short(0)));
        return scratch->GetRange(Variant(u"A65536"))->GetEnd(Excel::xlUp)->GetRow();
    };
    EXPECT_EQ(filter(), 2); // the titles and the one row
    criteria->GetRange(Variant(u"B2"))->PutValue2(Variant(u"=AND(A2=\"新华书店\",Extra!A1=0)"));
    EXPECT_EQ(filter(), 1);
}

TEST_F(AdvancedFilter, RowsOfACollapsedGroupTakePart) {
    range(u"3:5")->Group();
    range(u"6:6")->PutShowDetail(Variant(false));
    ASSERT_EQ(range(u"4:4")->GetRowHeight(), Variant(0.0));
    scratch->GetRange(Variant(u"A1"))->PutValue2(Variant(u"资料名称"));
    criterion(u"A2", u"报纸");
    EXPECT_EQ(run(u"A1:A2", false, 2), (Rows{u"报纸"}));
}

TEST_F(AdvancedFilter, TheCopyIsOneChangeAndItsFormatsCome) {
    Connection events(app.get(), DIID_AppEvents);
    scratch->GetRange(Variant(u"A1"))->PutValue2(Variant(u"资料名称"));
    criterion(u"A2", u"2026");
    EXPECT_EQ(run(u"A1:A2", false, 2), (Rows{u"2026年度杂志"}));
    EXPECT_EQ(scratch->GetRange(Variant(u"C4"))->GetInterior()->GetColorIndex(), Variant(34));
    auto changes = events->of(Excel::AppEvents::SheetChange);
    ASSERT_EQ(changes.size(), 3u); // two criteria written, then the copy
    EXPECT_EQ(Excel::RangePtr(changes[2].args[1])->GetAddress(), u"$A$3:$G$4");
}

} // namespace
} // namespace engine::automation::testing
