#include "tests/varnel/register/register_fixture.h"

namespace {

using Texts = std::vector<std::u16string>;
const Texts titles = {u"征订年度", u"资料名称", u"征订数量", u"单价", u"金额", u"票据号", u"征订单位"};

Excel::_WorksheetPtr sheetOf(const Excel::_ApplicationPtr& app, const Variant& index) {
    return app->GetActiveWorkbook()->GetWorksheets()->GetItem(index);
}

// Two units with entries whose material names begin alike or hold wildcards.
class RegisterQueryTest : public RegisterTest {
protected:
    void SetUp() override {
        RegisterTest::SetUp();
        dlg.materialKinds = u"报纸,报纸增刊,C*,CD";
        addUnit(u"市一中");
        addUnit(u"县文化馆");
        enter(4, u"报纸", 2, 30);
        enter(5, u"报纸增刊", 1, 8);
        enter(6, u"CD", 3, 5);
        enter(10, u"C*", 4, 6);
        enter(11, u"报纸", 5, 12);
    }
    void enter(long row, const std::u16string& material, int quantity, int price) {
        const std::u16string r = text::toUtf16(std::to_string(row));
        type(u"B" + r, Variant(material));
        type(u"C" + r, Variant(quantity));
        type(u"D" + r, Variant(price));
    }
};

TEST_F(RegisterQueryTest, FindListsExactlyTheChosenMaterialInASecondInstance) {
    findMaterial(u"报纸");
    ASSERT_EQ(otherInstances().size(), 1u);
    const Excel::_ApplicationPtr output = otherInstances()[0];
    EXPECT_EQ(output->GetVisible(), VARIANT_TRUE);
    const Excel::_WorksheetPtr result = sheetOf(output, Variant(1));
    EXPECT_EQ(rowTexts(result, 1),
              (Texts{u"征订年度", u"被查询资料名称", u"征订数量", u"单价", u"金额", u"票据号", u"征订单位"}));
    EXPECT_EQ(rowTexts(result, 2), (Texts{u"", u"报纸", u"2", u"30", u"60", u"", u"市一中"}));
    EXPECT_EQ(rowTexts(result, 3), (Texts{u"", u"报纸", u"5", u"12", u"60", u"", u"县文化馆"}));
    EXPECT_EQ(rowTexts(result, 4), Texts(7, u""));
    EXPECT_EQ(result->GetRange(Variant(u"B1"))->GetColumnWidth().toDouble(), 34);
    EXPECT_EQ(result->GetRange(Variant(u"E1"))->GetColumnWidth().toDouble(), 8);
    EXPECT_EQ(result->GetRange(Variant(u"G3"))->GetColumnWidth().toDouble(), 10);
    EXPECT_EQ(result->GetRange(Variant(u"A3"))->GetRowHeight().toDouble(), 30);
    EXPECT_EQ(result->GetRange(Variant(u"F1"))->GetFont()->GetBold().toBool(), true);
    // The filter's own workbook is gone, unsaved and unasked.
    EXPECT_EQ(engineApp->GetWorkbooks()->GetCount(), 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(RegisterQueryTest, WildcardsInANameMatchOnlyThemselves) {
    findMaterial(u"C*");
    const Excel::_WorksheetPtr result = sheetOf(otherInstances()[0], Variant(1));
    EXPECT_EQ(rowTexts(result, 2), (Texts{u"", u"C*", u"4", u"6", u"24", u"", u"县文化馆"}));
    EXPECT_EQ(rowTexts(result, 3), Texts(7, u""));
}

TEST_F(RegisterQueryTest, EmptyChoiceListsEveryRowWithAUnit) {
    findMaterial(u"");
    const Excel::_WorksheetPtr result = sheetOf(otherInstances()[0], Variant(1));
    // Both column-header rows (G "征订单位") and the five entries.
    const Texts units = {u"征订单位", u"市一中", u"市一中", u"市一中", u"征订单位", u"县文化馆", u"县文化馆"};
    for (long row = 2; row <= 8; ++row)
        EXPECT_EQ(rowTexts(result, row)[6], units[row - 2]) << row;
    EXPECT_EQ(rowTexts(result, 5)[1], u"CD");
    EXPECT_EQ(rowTexts(result, 9), Texts(7, u""));
}

TEST_F(RegisterTest, FindOnAnEmptyRegisterShowsNothing) {
    dlg.OnFindMaterial(nullptr, nullptr);
    EXPECT_TRUE(user.records().empty());
    EXPECT_TRUE(otherInstances().empty());
    EXPECT_EQ(engineApp->GetWorkbooks()->GetCount(), 1);
}

TEST_F(RegisterQueryTest, StatusListsEveryUnitAndCopiesTheChosenBlock) {
    addUnit(u"2024");
    cell(u"A2")->GetEntireRow()->PutShowDetail(Variant(short(VARIANT_FALSE)));
    outputStatus(u"市一中");

    EXPECT_EQ(lastDialogItems(), (Texts{u"2024", u"市一中", u"县文化馆"}));
    ASSERT_EQ(otherInstances().size(), 1u);
    const Excel::_ApplicationPtr output = otherInstances()[0];
    EXPECT_EQ(output->GetVisible(), VARIANT_TRUE);

    const Excel::_WorksheetPtr units = sheetOf(output, Variant(u"未征订情况统计"));
    EXPECT_EQ(rowTexts(units, 1), titles);
    EXPECT_EQ(rowTexts(units, 2), (Texts{u"市一中", u"C*", u"83", u"", u"", u"", u""}));
    EXPECT_EQ(rowTexts(units, 3), (Texts{u"县文化馆", u"报纸增刊、CD", u"84", u"", u"", u"", u""}));
    EXPECT_EQ(rowTexts(units, 4), (Texts{u"2024", u"报纸、报纸增刊、C*、CD", u"0", u"", u"", u"", u""}));
    EXPECT_EQ(rowTexts(units, 5), Texts(7, u""));
    EXPECT_EQ(units->GetRange(Variant(u"B2"))->GetColumnWidth().toDouble(), 150);
    EXPECT_EQ(units->GetRange(Variant(u"C3"))->GetRowHeight().toDouble(), 60);

    const Excel::_WorksheetPtr block = sheetOf(output, Variant(u"被查询单位征订情况"));
    EXPECT_EQ(rowTexts(block, 1), (Texts{u"市一中", u"C*", u"83", u"", u"", u"", u""}));
    EXPECT_EQ(rowTexts(block, 2), titles);
    EXPECT_EQ(rowTexts(block, 3), (Texts{u"", u"报纸", u"2", u"30", u"60", u"", u"市一中"}));
    EXPECT_EQ(rowTexts(block, 5), (Texts{u"", u"CD", u"3", u"5", u"15", u"", u"市一中"}));
    EXPECT_EQ(rowTexts(block, 6), (Texts{u"", u"", u"", u"", u"", u"", u""}));
    EXPECT_EQ(rowTexts(block, 7), Texts(7, u""));
    EXPECT_EQ(block->GetRange(Variant(u"B1"))->GetColumnWidth().toDouble(), 60);

    // The register: the block expanded again, the scratch sheet empty.
    EXPECT_FALSE(hidden(3) || hidden(7));
    const Excel::_WorksheetPtr scratch = dlg._epBook->GetWorksheets()->GetItem(Variant(u"Sheet2"));
    EXPECT_EQ(scratch->GetRange(Variant(u"A65536"))->GetEnd(Excel::xlUp)->GetRow(), 1);
    EXPECT_EQ(scratch->GetRange(Variant(u"A1"))->GetValue2().vt(), VT_EMPTY);
}

// The block's last row is its blank entry row: it arrives with the amount formula's empty text and the
// entry rows' fill and font, and the separator below stays behind.
TEST_F(RegisterQueryTest, StatusCopiesTheBlocksLastRowWithItsAmountAndFormat) {
    outputStatus(u"市一中");
    const Excel::_WorksheetPtr block = sheetOf(otherInstances()[0], Variant(u"被查询单位征订情况"));
    const Excel::RangePtr amount = block->GetRange(Variant(u"E6"));
    EXPECT_EQ(amount->GetValue2().vt(), VT_BSTR);
    EXPECT_EQ(amount->GetInterior()->GetColorIndex().toLong(), 34);
    EXPECT_EQ(block->GetRange(Variant(u"A6"))->GetInterior()->GetColorIndex().toLong(), 34);
    EXPECT_EQ(block->GetRange(Variant(u"A6"))->GetFont()->GetColorIndex().toLong(), 5);
    EXPECT_EQ(block->GetRange(Variant(u"A7"))->GetInterior()->GetColorIndex().toLong(),
              Excel::xlColorIndexNone);
}

// Cells filled several at once leave no blank entry row after them: the block still arrives whole.
TEST_F(RegisterQueryTest, StatusCopiesABlockWhoseLastRowIsFilled) {
    type(u"C7:D7", Variant(2));
    ASSERT_EQ(level(8), 1);
    outputStatus(u"市一中");
    const Excel::_WorksheetPtr block = sheetOf(otherInstances()[0], Variant(u"被查询单位征订情况"));
    EXPECT_EQ(rowTexts(block, 6), (Texts{u"", u"", u"2", u"2", u"4", u"", u""}));
    EXPECT_EQ(rowTexts(block, 7), Texts(7, u""));
}

TEST_F(RegisterTest, StatusWithoutUnitsSaysSoAndShowsNothing) {
    dlg.OnOutputStatus(nullptr, nullptr);
    EXPECT_EQ(messages(), (Texts{u"查询指定单位的征订情况|还没有可供查询的征订单位"}));
    for (const Excel::_ApplicationPtr& other : otherInstances())
        EXPECT_EQ(other->GetVisible(), VARIANT_FALSE);
}

} // namespace
