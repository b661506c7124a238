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

} // namespace
} // namespace engine::automation::testing
