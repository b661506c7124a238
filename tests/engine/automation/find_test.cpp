#include "tests/engine/automation/fixture.h"

namespace engine::automation::testing {
namespace {

class Find : public InstanceTest {
protected:
    void SetUp() override {
        InstanceTest::SetUp();
        range(u"A2")->PutValue2(Variant(u"新华书店"));
        range(u"A5")->PutValue2(Variant(u"征订年度"));
        range(u"A9")->PutValue2(Variant(u"第一中学"));
        range(u"C3")->PutValue2(Variant(u"第一中学"));
        range(u"B4")->PutValue2(Variant(u"Apple pie"));
        range(u"D7")->PutFormula(Variant(u"=A9"));
    }
    Excel::RangePtr find(Excel::RangePtr in, const char16_t* what, long lookAt, long order,
                         Excel::XlSearchDirection direction, Variant after = vtMissing,
                         Variant matchCase = vtMissing) {
        return in->Find(Variant(what), after, Variant(static_cast<int>(Excel::xlValues)), Variant(lookAt),
                        Variant(order), direction, matchCase);
    }
};

TEST_F(Find, InAColumnAfterItsFirstCellWrappingAround) {
    auto hit = find(range(u"A:A"), u"第一中学", Excel::xlWhole, Excel::xlByRows, Excel::xlNext);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->GetAddress(), u"$A$9");
    EXPECT_FALSE(find(range(u"A:A"), u"第一", Excel::xlWhole, Excel::xlByRows, Excel::xlNext));
    EXPECT_EQ(find(range(u"A:A"), u"第一", Excel::xlPart, Excel::xlByRows, Excel::xlNext)->GetAddress(),
              u"$A$9");
    EXPECT_EQ(
        find(range(u"A:A"), u"新华书店", Excel::xlWhole, Excel::xlByRows, Excel::xlNext, Variant(cell(9, 1)))
            ->GetAddress(),
        u"$A$2");
}

TEST_F(Find, ASingleCellSearchesTheWholeSheet) {
    // Backwards by columns from A9 itself: column A above it, then the last columns first.
    auto last = range(u"A9");
    EXPECT_EQ(find(last, u"第一中学", Excel::xlWhole, Excel::xlByColumns, Excel::xlPrevious)->GetAddress(),
              u"$D$7");
    EXPECT_EQ(find(last, u"新华书店", Excel::xlWhole, Excel::xlByColumns, Excel::xlPrevious)->GetAddress(),
              u"$A$2");
    EXPECT_EQ(find(range(u"A1"), u"第一中学", Excel::xlWhole, Excel::xlByRows, Excel::xlNext)->GetAddress(),
              u"$C$3");
    EXPECT_EQ(
        find(range(u"A1"), u"第一中学", Excel::xlWhole, Excel::xlByColumns, Excel::xlNext)->GetAddress(),
        u"$A$9");
}

TEST_F(Find, CaseWildcardsAndNothingFound) {
    EXPECT_EQ(find(range(u"B:B"), u"apple PIE", Excel::xlWhole, Excel::xlByRows, Excel::xlNext)->GetAddress(),
              u"$B$4");
    EXPECT_FALSE(find(range(u"B:B"), u"apple PIE", Excel::xlWhole, Excel::xlByRows, Excel::xlNext, vtMissing,
                      Variant(true)));
    EXPECT_EQ(find(range(u"B:B"), u"A?ple*", Excel::xlWhole, Excel::xlByRows, Excel::xlNext)->GetAddress(),
              u"$B$4");
    EXPECT_FALSE(find(range(u"A1:IV65536"), u"不存在", Excel::xlPart, Excel::xlByRows, Excel::xlNext));
    Excel::_WorksheetPtr empty(book->GetWorksheets()->GetItem(Variant(2)));
    EXPECT_FALSE(empty->GetRange(Variant(u"A1"))->Find(Variant(u"x")));
}

TEST_F(Find, NumbersBooleansAndErrorsAreFoundByTheTextTheyShow) {
    range(u"E2")->PutValue2(Variant(3.5));
    range(u"E2")->GetInterior()->PutColorIndex(Variant(6));
    range(u"E3")->PutValue2(Variant(u"13.5"));
    range(u"E4")->PutValue2(Variant(u"1E+20"));
    range(u"E5")->PutFormula(Variant(u"=1/0"));
    range(u"E6")->PutValue2(Variant(u"TRUE"));
    range(u"E7")->PutFormula(Variant(u"=E2*2"));
    range(u"E8")->PutValue2(Variant(u"3.5元"));
    range(u"F3")->GetInterior()->PutColorIndex(Variant(6)); // a format without content
    auto in = [&](const char16_t* what, long lookAt, Variant matchCase = vtMissing) -> std::u16string {
        auto hit = find(range(u"E:F"), what, lookAt, Excel::xlByRows, Excel::xlNext, vtMissing, matchCase);
        return hit ? hit->GetAddress() : u"";
    };
    EXPECT_EQ(in(u"3.5", Excel::xlWhole), u"$E$2");
    EXPECT_EQ(in(u"13.5", Excel::xlPart), u"$E$3");
    EXPECT_EQ(in(u"?3.5", Excel::xlWhole), u"$E$3");
    EXPECT_EQ(in(u"3.5元", Excel::xlWhole), u"$E$8");
    EXPECT_EQ(in(u"*元", Excel::xlWhole), u"$E$8");
    EXPECT_EQ(in(u"1e+20", Excel::xlWhole), u"$E$4");
    EXPECT_EQ(in(u"1e+20", Excel::xlWhole, Variant(true)), u"");
    EXPECT_EQ(in(u"E+", Excel::xlPart, Variant(true)), u"$E$4");
    EXPECT_EQ(in(u"#div/0!", Excel::xlWhole), u"$E$5");
    EXPECT_EQ(in(u"true", Excel::xlWhole), u"$E$6");
    EXPECT_EQ(in(u"7", Excel::xlWhole), u"$E$7");
    EXPECT_EQ(in(u"*", Excel::xlWhole), u"$E$2");
    EXPECT_FALSE(find(range(u"F:F"), u"*", Excel::xlWhole, Excel::xlByRows, Excel::xlNext)); // a format only
    EXPECT_EQ(in(u"3.5 ", Excel::xlPart), u"");
}

TEST_F(Find, FormulasAreSearchedByTheirTextOrByTheirResult) {
    auto in = [&](const char16_t* what, long lookIn, long lookAt) -> std::u16string {
        auto hit = range(u"C:D")->Find(Variant(what), vtMissing, Variant(lookIn), Variant(lookAt));
        return hit ? hit->GetAddress() : u"";
    };
    EXPECT_EQ(in(u"=A9", Excel::xlFormulas, Excel::xlWhole), u"$D$7");
    EXPECT_EQ(in(u"a9", Excel::xlFormulas, Excel::xlPart), u"$D$7");
    EXPECT_EQ(in(u"第一中学", Excel::xlFormulas, Excel::xlWhole), u"$C$3"); // D7 shows it but holds =A9
    EXPECT_EQ(in(u"第一中学", Excel::xlValues, Excel::xlWhole), u"$C$3");
    EXPECT_EQ(
        range(u"D:D")->Find(Variant(u"第一中学"), vtMissing, Variant(long(Excel::xlValues)))->GetAddress(),
        u"$D$7");
    EXPECT_FALSE(in(u"=A9", Excel::xlValues, Excel::xlWhole).size());
}

} // namespace
} // namespace engine::automation::testing
