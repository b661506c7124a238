#include "engine/model/palette.h"
#include "tests/engine/model/sheet_fixture.h"

namespace engine {
namespace {

class Formats : public SheetTest {};

TEST_F(Formats, CellFormatOverRowFormatOverColumnFormat) {
    sheet.modifyFormat(Area::columns(1, 1), [](Format& f) { f.fillColorIndex = 3; });
    sheet.modifyFormat(Area::rows(4, 4), [](Format& f) { f.font.colorIndex = 10; });
    EXPECT_EQ(sheet.format(0, 1).fillColorIndex, 3);
    EXPECT_EQ(sheet.format(4, 1).font.colorIndex, 10);
    EXPECT_EQ(sheet.format(4, 1).fillColorIndex, 0); // the row's own format hides the column's
    type(u"C5", u"x");
    EXPECT_EQ(sheet.format(4, 2).font.colorIndex, 10); // a value typed into a formatted row keeps its look
    sheet.modifyFormat(Area::rows(4, 4), [](Format& f) { f.font.bold = true; });
    EXPECT_TRUE(sheet.format(4, 2).font.bold && sheet.format(4, 7).font.bold);
    EXPECT_EQ(sheet.format(4, 2).font.colorIndex, 10);
    sheet.clearContents(Area::cell(4, 2));
    EXPECT_TRUE(sheet.format(4, 2).font.bold);
}

TEST_F(Formats, IdenticalFormatsAreSharedAcrossCells) {
    std::size_t before = book.formats().size();
    for (int r = 0; r < 100; ++r)
        sheet.modifyFormat(Area::cell(r, 0), [](Format& f) {
            f.border(Edge::Top) = {LineStyle::Dash, BorderWeight::Thin};
        });
    EXPECT_EQ(book.formats().size(), before + 1);
    EXPECT_EQ(sheet.formatId(0, 0), sheet.formatId(99, 0));
}

TEST(Palette, ExcelsDefaultColours) {
    EXPECT_EQ(paletteColor(3), 0x0000FFu); // red as 0xBBGGRR
    EXPECT_EQ(paletteColor(5), 0xFF0000u); // blue
    EXPECT_EQ(paletteColor(34), 0xFFFFCCu);
    EXPECT_EQ(nearestPaletteIndex(0x0000FE), 3);
    EXPECT_EQ(nearestPaletteIndex(paletteColor(10)), 10);
}

} // namespace
} // namespace engine
