// Page setup, window and protection settings, and column widths, through a save and a read.
#include "engine/xls/sheet_settings_records.h"
#include "engine/xls/xls.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {

std::unique_ptr<Workbook> roundTrip(const Workbook& book, std::vector<std::string>* dropped = nullptr) {
    auto result = xls::readWorkbook(xls::workbookBytes(book), "settings.xls");
    if (dropped)
        *dropped = result.dropped;
    return std::move(result.workbook);
}

PageSetup everyPageSetting() {
    PageSetup p;
    p.paperSize = 11;
    p.landscape = true;
    p.scale = 85;
    p.fitToPages = true;
    p.fitWidth = 1;
    p.fitHeight = 0;
    p.firstPageNumber = 4;
    p.usesFirstPageNumber = true;
    p.acrossThenDown = true;
    p.blackAndWhite = true;
    p.draft = true;
    p.copies = 3;
    p.horizontalDpi = 300;
    p.verticalDpi = 360;
    p.printerSettingsKnown = true;
    p.leftMargin = 0.4;
    p.rightMargin = 0.45;
    p.topMargin = 1.25;
    p.bottomMargin = 0.8;
    p.headerMargin = 0.3;
    p.footerMargin = 0.35;
    p.centerHorizontally = true;
    p.centerVertically = true;
    p.printGridlines = true;
    p.printHeadings = true;
    p.header = u"&L征订登记&R&D";
    p.footer = u"&C第 &P 页，共 &N 页";
    return p;
}

SheetView frozenView() {
    SheetView v;
    v.showGridlines = false;
    v.showHeadings = false;
    v.showZeros = false;
    v.showFormulas = true;
    v.showOutlineSymbols = false;
    v.zoom = 85;
    v.topRow = 4;
    v.leftColumn = 1;
    v.frozen = true;
    v.splitColumns = 1;
    v.splitRows = 2;
    v.paneTopRow = 6;
    v.paneLeftColumn = 2;
    v.activePane = 0;
    return v;
}

} // namespace

TEST(SheetSettings, PageSetupViewAndProtectionComeBackAsSaved) {
    Workbook book;
    Sheet& set = book.addSheet(u"征订登记");
    Sheet& plain = book.addSheet(u"Sheet2");
    set.setPageSetup(everyPageSetting());
    set.setView(frozenView());
    set.setProtection({true, true, true, 0xCBEB, 0x4400});
    // The selection is the active pane's, below and right of the frozen rows and column.
    Selection selection;
    selection.areas = {Area{6, 2, 8, 3}};
    selection.active = {7, 3};
    set.setSelection(selection);
    book.setProtection({true, true, 0x83AF});
    // An unfrozen split, measured in twentieths of a point.
    SheetView split;
    split.splitColumns = 2400;
    split.splitRows = 1800;
    split.paneTopRow = 10;
    split.activePane = 2;
    plain.setView(split);

    std::vector<std::string> dropped;
    auto back = roundTrip(book, &dropped);
    EXPECT_TRUE(dropped.empty()) << dropped.front();
    EXPECT_EQ(back->sheet(0).pageSetup(), everyPageSetting());
    EXPECT_EQ(back->sheet(0).view(), frozenView());
    EXPECT_EQ(back->sheet(0).protection(), (SheetProtection{true, true, true, 0xCBEB, 0x4400}));
    EXPECT_EQ(back->sheet(0).selection(), selection);
    EXPECT_EQ(back->protection(), (WorkbookProtection{true, true, 0x83AF}));
    EXPECT_EQ(back->sheet(1).pageSetup(), PageSetup{});
    EXPECT_EQ(back->sheet(1).view(), split);
    EXPECT_EQ(back->sheet(1).protection(), SheetProtection{});
    // What was read is saved as it was read.
    EXPECT_EQ(xls::workbookBytes(*back), xls::workbookBytes(book));
}

TEST(SheetSettings, PrinterFieldsOfANewSheetAreLeftToThePrinterUntilOneIsChosen) {
    Workbook book;
    Sheet& sheet = book.addSheet(u"Sheet1");
    EXPECT_FALSE(roundTrip(book)->sheet(0).pageSetup().printerSettingsKnown);
    // Choosing the orientation alone is enough for it to be written and read back.
    PageSetup landscape;
    landscape.landscape = true;
    sheet.setPageSetup(landscape);
    EXPECT_TRUE(roundTrip(book)->sheet(0).pageSetup().landscape);
}

TEST(SheetSettings, ColumnWidthsAreSavedAsTheFileStoredThemUntilChanged) {
    Workbook book;
    Sheet& sheet = book.addSheet(u"Sheet1");
    // 2905/256 characters: a width that no two-place width in characters gives back exactly.
    ColumnProperties& a = sheet.editColumn(0);
    a.storedWidth = 2905;
    a.width = xls::columnWidthFromStored(2905);
    a.customWidth = true;
    auto back = roundTrip(book);
    EXPECT_EQ(back->sheet(0).column(0).storedWidth, 2905);
    EXPECT_EQ(back->sheet(0).column(0).width, a.width);

    // A width set since is saved as set, not as the one stored before.
    a.width = 20;
    back = roundTrip(book);
    EXPECT_EQ(back->sheet(0).column(0).width, 20);
    EXPECT_NE(back->sheet(0).column(0).storedWidth, 2905);
}
