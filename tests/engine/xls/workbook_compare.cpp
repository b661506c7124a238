#include "tests/engine/xls/workbook_compare.h"

#include "platform/text/utf.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace xls_testing {

namespace {

using engine::Area;

std::string where(const engine::Sheet& s, int row, int col) {
    return text::toUtf8(s.name()) + " row " + std::to_string(row + 1) + " column " + std::to_string(col + 1);
}

} // namespace

void expectSameWorkbook(const engine::Workbook& expected, const engine::Workbook& actual) {
    ASSERT_EQ(expected.sheetCount(), actual.sheetCount());
    EXPECT_EQ(expected.defaultFont(), actual.defaultFont());
    for (int i = 0; i < expected.sheetCount(); ++i) {
        const engine::Sheet& a = expected.sheet(i);
        const engine::Sheet& b = actual.sheet(i);
        EXPECT_EQ(a.name(), b.name());
        EXPECT_EQ(a.outline(), b.outline());
        EXPECT_EQ(a.selection(), b.selection());
        EXPECT_EQ(a.merges(), b.merges());
        EXPECT_EQ(a.usedArea(), b.usedArea());

        int rows = std::max(a.rowExtent(), b.rowExtent()) + 2;
        for (int r = 0; r < rows; ++r) {
            // Format ids depend on the order formats were first used; compare what they stand for.
            auto ra = a.row(r), rb = b.row(r);
            EXPECT_EQ(expected.formats().get(ra.format), actual.formats().get(rb.format)) << where(a, r, 0);
            ra.format = rb.format = engine::kDefaultFormat;
            EXPECT_EQ(ra, rb) << where(a, r, 0);
            for (int c = 0; c < 10; ++c) {
                SCOPED_TRACE(where(a, r, c));
                EXPECT_EQ(a.value(r, c), b.value(r, c));
                EXPECT_EQ(a.formulaText(r, c), b.formulaText(r, c));
                EXPECT_EQ(a.format(r, c), b.format(r, c));
                auto runsA = a.textRuns(r, c), runsB = b.textRuns(r, c);
                EXPECT_TRUE(std::equal(runsA.begin(), runsA.end(), runsB.begin(), runsB.end()));
                const engine::ValidationRule* va = a.validationAt(r, c);
                const engine::ValidationRule* vb = b.validationAt(r, c);
                ASSERT_EQ(va == nullptr, vb == nullptr);
                if (va) {
                    EXPECT_EQ(*va, *vb);
                }
            }
        }
        for (int c = 0; c < engine::kColumnCount; ++c) {
            auto ca = a.column(c), cb = b.column(c);
            EXPECT_EQ(expected.formats().get(ca.format), actual.formats().get(cb.format)) << where(a, 0, c);
            ca.format = cb.format = engine::kDefaultFormat;
            // The width a file stored, which a workbook built in memory has not.
            ca.storedWidth = cb.storedWidth = 0;
            ca.storedAsSetByHand = cb.storedAsSetByHand = false;
            EXPECT_EQ(ca, cb) << where(a, 0, c);
        }
    }
}

} // namespace xls_testing
