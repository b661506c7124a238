#include "engine/core/error.h"
#include "tests/engine/model/sheet_fixture.h"

#include <algorithm>
#include <random>

namespace engine {
namespace {

class Storage : public SheetTest {};

TEST_F(Storage, RewrittenFormulasStayIntactAsTheirTokensAreCompacted) {
    // The register rewrites its unit rows' formulas on every entry: old tokens pile up and are dropped.
    for (int round = 0; round < 400; ++round)
        for (int r = 0; r < 20; ++r)
            sheet.setFormula(r, 1,
                             u"=SUM($A$1:$A$" + formatAddress({r + round % 3, 0}, false).substr(1) + u")+\"" +
                                 std::u16string(static_cast<std::size_t>(r % 9), u'x') + u"\"*0");
    for (int r = 0; r < 20; ++r)
        sheet.setValue(r, 0, num(1));
    for (int r = 0; r < 20; ++r) {
        EXPECT_EQ(sheet.formulaText(r, 1),
                  u"=SUM($A$1:$A$" + formatAddress({r + 399 % 3, 0}, false).substr(1) + u")+\"" +
                      std::u16string(static_cast<std::size_t>(r % 9), u'x') + u"\"*0");
    }
    type(u"Z1", u"=SUM(B1:B20)"); // a text times 0, even an empty one, is #VALUE!
    EXPECT_EQ(value(u"Z1"), err(ErrorCode::Value));
    sheet.clearContents(Area::columns(1, 1));
    EXPECT_EQ(value(u"Z1"), num(0));
}

TEST_F(Storage, FindsTheEdgesOfContentAsEndDoes) {
    type(u"B2", u"x");
    type(u"B5", u"=\"\"");
    sheet.modifyFormat(Area::cell(9, 1), [](Format& f) { f.font.bold = true; });
    EXPECT_EQ(sheet.contentRowAbove(1, kLastRow), 4); // a formula counts, a format alone does not
    EXPECT_EQ(sheet.contentRowAbove(1, 4), 1);
    EXPECT_FALSE(sheet.contentRowAbove(1, 1));
    EXPECT_EQ(sheet.contentRowBelow(1, 1), 4);
    EXPECT_FALSE(sheet.contentRowBelow(1, 4));
    type(u"E2", u"1");
    EXPECT_EQ(sheet.contentColumnLeft(1, 4), 1);
    EXPECT_EQ(sheet.contentColumnRight(1, 1), 4);
    EXPECT_FALSE(sheet.contentColumnRight(1, 4));
    EXPECT_EQ(sheet.usedArea(), (Area{1, 1, 9, 4}));
    std::vector<CellAddress> seen;
    sheet.forEachCell(Area::wholeSheet(), [&](int r, int c) { seen.push_back({r, c}); });
    EXPECT_EQ(seen, (std::vector<CellAddress>{{1, 1}, {1, 4}, {4, 1}, {9, 1}}));
    // A lower row that reaches further left and right widens it both ways.
    type(u"A7", u"y");
    type(u"G7", u"z");
    EXPECT_EQ(sheet.usedArea(), (Area{1, 0, 9, 6}));
}

TEST_F(Storage, NothingIsWrittenOutsideTheSheet) {
    EXPECT_THROW(sheet.setValue(kRowCount, 0, num(1)), EngineError);
    EXPECT_THROW(sheet.setValue(0, kColumnCount, num(1)), EngineError);
    EXPECT_THROW(sheet.editRow(-1), EngineError);
    EXPECT_THROW(sheet.editColumn(kColumnCount), EngineError);
    EXPECT_THROW(sheet.clearContents({-1, 0, 3, 3}), EngineError);
    EXPECT_THROW(sheet.modifyFormat({0, 0, 0, kColumnCount}, [](Format&) {}), EngineError);
    EXPECT_THROW(sheet.insertCells({5, 0, 4, 0}, Shift::Down), EngineError);
    EXPECT_EQ(sheet.value(kRowCount, kColumnCount), Value());
    EXPECT_EQ(sheet.formatId(-1, kColumnCount), kDefaultFormat);
    EXPECT_FALSE(sheet.usedArea());
}

TEST_F(Storage, MergesAbsorbWhatTheyOverlap) {
    sheet.merge({0, 0, 0, 1});
    sheet.merge({2, 2, 3, 3});
    sheet.merge({0, 1, 2, 2});
    EXPECT_EQ(sheet.merges(), std::vector<Area>{(Area{0, 0, 3, 3})});
    EXPECT_EQ(sheet.mergeAt(3, 0), (Area{0, 0, 3, 3}));
    sheet.unmerge(Area::cell(1, 1));
    EXPECT_TRUE(sheet.merges().empty());
}

TEST_F(Storage, RemovingValidationFromPartOfARangeKeepsTheRest) {
    ValidationRule rule;
    rule.formula1 = u"a,b";
    sheet.addValidation({0, 0, 4, 2}, rule);
    sheet.removeValidation(Area::cell(2, 1));
    for (int r = 0; r <= 4; ++r)
        for (int c = 0; c <= 2; ++c)
            EXPECT_EQ(sheet.validationAt(r, c) != nullptr, !(r == 2 && c == 1)) << r << "," << c;
    ValidationRule other = rule;
    other.formula1 = u"c";
    sheet.addValidation(Area::rows(0, 0), other); // replaces what the row had
    EXPECT_EQ(sheet.validationAt(0, 0)->formula1, u"c");
    EXPECT_EQ(sheet.validations().size(), 2u);
}

// Validation.Add and Delete on ranges that cut through earlier ones: every cell keeps the rule it was
// given last, however its area was cut, and the areas stay apart with each rule listed once.
TEST_F(Storage, CutValidationsLeaveEachCellItsLastRule) {
    constexpr int rows = 30, cols = 5;
    std::vector<ValidationRule> rules(3);
    for (std::size_t i = 0; i < rules.size(); ++i)
        rules[i].formula1 = u"a," + std::u16string(1, char16_t(u'b' + i));
    std::vector<std::vector<int>> given(rows, std::vector<int>(cols, -1));
    std::mt19937 random(11);
    auto pick = [&](int n) {
        return int(random() % unsigned(n));
    };
    for (int step = 0; step < 300; ++step) {
        int top = pick(rows), left = pick(cols);
        Area a{top, left, std::min(rows - 1, top + pick(6)), std::min(cols - 1, left + pick(3))};
        int rule = pick(int(rules.size()) + 1) - 1;
        if (step % 50 == 49)
            a = Area::rows(a.top, a.top); // a whole row, as the program deletes them
        if (rule < 0)
            sheet.removeValidation(a);
        else
            sheet.addValidation(a, rules[std::size_t(rule)]);
        for (int r = a.top; r <= std::min(a.bottom, rows - 1); ++r)
            for (int c = a.left; c <= std::min(a.right, cols - 1); ++c)
                given[std::size_t(r)][std::size_t(c)] = rule;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                const ValidationRule* v = sheet.validationAt(r, c);
                int expected = given[std::size_t(r)][std::size_t(c)];
                ASSERT_EQ(v ? v->formula1 : u"", expected < 0 ? u"" : rules[std::size_t(expected)].formula1)
                    << "step " << step << " at " << r << "," << c;
            }
    }
    std::size_t cells = 0;
    for (const Validation& v : sheet.validations()) {
        EXPECT_EQ(std::count_if(sheet.validations().begin(), sheet.validations().end(),
                                [&](const Validation& w) { return w.rule == v.rule; }),
                  1);
        for (const Area& a : v.areas)
            if (a.right < cols) // whole rows reach beyond the cells followed here
                cells += std::size_t(a.rowCount()) * std::size_t(a.columnCount());
            else
                cells += std::size_t(a.rowCount()) * std::size_t(cols - a.left);
    }
    std::size_t validated = 0;
    for (const auto& row : given)
        validated += std::size_t(std::count_if(row.begin(), row.end(), [](int g) { return g >= 0; }));
    EXPECT_EQ(cells, validated); // no cell counted in two areas
    EXPECT_TRUE(sheet.hasValidation(Area::wholeSheet()));
    sheet.removeValidation(Area::wholeSheet());
    EXPECT_TRUE(sheet.validations().empty());
    EXPECT_FALSE(sheet.hasValidation(Area::wholeSheet()));
}

TEST_F(Storage, SheetsAreNamedAsExcelAllows) {
    EXPECT_THROW(book.addSheet(u"征订登记"), EngineError);
    EXPECT_THROW(book.addSheet(u"a/b"), EngineError);
    EXPECT_THROW(book.addSheet(u""), EngineError);
    EXPECT_THROW(book.addSheet(std::u16string(32, u'x')), EngineError);
    Sheet& second = book.addSheet(u"Sheet2", 0);
    EXPECT_EQ(book.indexOf(second), 0);
    EXPECT_EQ(book.findSheet(u"sheet2"), &second);
    EXPECT_THROW(book.renameSheet(second, u"征订登记"), EngineError);
    book.moveSheet(second, 5);
    EXPECT_EQ(book.indexOf(second), 1);
}

} // namespace
} // namespace engine
