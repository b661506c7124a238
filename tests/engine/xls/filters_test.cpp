// A sheet's autofilter through a save and a read, beside comments in the same drawing, and as rows and
// columns are inserted and deleted.
#include "engine/formula/parser.h"
#include "engine/xls/xls.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {

// Quantity below 10, and kind equal to the two-character text 期刊, as a file stores the conditions.
const std::vector<uint8_t> Below10{0x00, 0x00, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x24,
                                   0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
const std::vector<uint8_t> Kind{0x00, 0x00, 0x06, 0x02, 0x00, 0x00, 0x00, 0x00, 0x02,
                                0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00,
                                0x00, 0x00, 0x00, 0x00, 0x01, 0x1F, 0x67, 0x0A, 0x52};

void filter(Workbook& book, Sheet& sheet, std::u16string_view range, const AutoFilter& f) {
    book.defineName({u"_FilterDatabase", sheet.id(), 0x0D, true, formula::parse(range, book.sheetNames())});
    sheet.setAutoFilter(f);
}

} // namespace

TEST(Filters, ConditionsRangeAndHiddenRowsComeBackAsSavedBesideComments) {
    Workbook book;
    Sheet& list = book.addSheet(u"征订登记");
    Sheet& other = book.addSheet(u"汇总");
    const AutoFilter withComments{{0, 0, 4, 2}, true, {{1, Below10}, {2, Kind}}};
    filter(book, list, u"征订登记!$A$1:$C$5", withComments);
    list.editRow(2).hidden = true;
    list.setComments({{{3, 1}, u"王会计", u"含邮费", {}, true, defaultCommentBox({3, 1})}});
    const AutoFilter alone{{9, 3, 20, 3}, false, {}};
    filter(book, other, u"汇总!$D$10:$D$21", alone);

    auto result = xls::readWorkbook(xls::workbookBytes(book), "filters.xls");
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    const Workbook& back = *result.workbook;
    EXPECT_EQ(back.sheet(0).autoFilter(), withComments);
    EXPECT_TRUE(back.sheet(0).row(2).hidden);
    ASSERT_EQ(back.sheet(0).comments().size(), 1u);
    EXPECT_EQ(back.sheet(0).comments()[0], list.comments()[0]);
    EXPECT_EQ(back.sheet(1).autoFilter(), alone);
}

// The list's range moves and grows as the cells do; a condition stays with its column and goes with
// it; the filter goes with its last cells.
TEST(Filters, RangeAndConditionsFollowInsertedAndDeletedRowsAndColumns) {
    Workbook book;
    Sheet& s = book.addSheet(u"Sheet1");
    filter(book, s, u"Sheet1!$B$2:$D$5", {{1, 1, 4, 3}, false, {{2, Below10}, {3, Kind}}});

    s.insertRows(0, 2);
    s.insertRows(4, 1);
    EXPECT_EQ(s.autoFilter()->range, (Area{3, 1, 7, 3}));
    s.insertColumns(2, 1);
    EXPECT_EQ(s.autoFilter()->range, (Area{3, 1, 7, 4}));
    EXPECT_EQ(s.autoFilter()->columns, (std::vector<FilterColumn>{{3, Below10}, {4, Kind}}));
    s.deleteColumns(3, 1);
    EXPECT_EQ(s.autoFilter()->range, (Area{3, 1, 7, 3}));
    EXPECT_EQ(s.autoFilter()->columns, (std::vector<FilterColumn>{{3, Kind}}));

    auto back = xls::readWorkbook(xls::workbookBytes(book), "moved.xls");
    EXPECT_TRUE(back.dropped.empty()) << back.dropped.front();
    EXPECT_EQ(back.workbook->sheet(0).autoFilter(), s.autoFilter());

    s.deleteColumns(1, 3);
    EXPECT_FALSE(s.autoFilter());
}
