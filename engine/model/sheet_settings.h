#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace engine {

// How a sheet prints (File, Page Setup). Lengths are inches, as Excel's files store them.
struct PageSetup {
    std::uint16_t paperSize = 9; // Excel's paper numbers: 9 A4, 1 Letter, 8 A3 ...
    bool landscape = false;
    std::uint16_t scale = 100; // percent, when not fitted to pages
    bool fitToPages = false;   // scale to fitWidth by fitHeight pages instead (0: as many as needed)
    std::uint16_t fitWidth = 1;
    std::uint16_t fitHeight = 1;
    std::uint16_t firstPageNumber = 1;
    bool usesFirstPageNumber = false;
    bool acrossThenDown = false; // page order: across the columns first
    bool blackAndWhite = false;
    bool draft = false;
    std::uint16_t copies = 1;
    std::uint16_t horizontalDpi = 600;
    std::uint16_t verticalDpi = 600;
    // Whether the printer fields above (paper, orientation, scale, resolution, copies) were chosen for
    // the sheet; while they are not, and are as in a new sheet, the printer chooses them.
    bool printerSettingsKnown = false;

    double leftMargin = 0.75;
    double rightMargin = 0.75;
    double topMargin = 1.0;
    double bottomMargin = 1.0;
    double headerMargin = 0.5;
    double footerMargin = 0.5;
    bool centerHorizontally = false;
    bool centerVertically = false;
    bool printGridlines = false;
    bool printHeadings = false; // row numbers and column letters
    // In Excel's header and footer codes (&L, &C, &R sections, &P page number ...).
    std::u16string header;
    std::u16string footer;

    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// How a sheet's window shows it (Tools, Options, View; Window, Freeze Panes; View, Zoom).
struct SheetView {
    bool showGridlines = true;
    bool showHeadings = true;
    bool showZeros = true;
    bool showFormulas = false;
    bool showOutlineSymbols = true;
    bool rightToLeft = false;
    std::uint16_t zoom = 100; // percent
    int topRow = 0;           // the first row and column in view
    int leftColumn = 0;
    // Panes: frozen ones split after `splitColumns` columns and `splitRows` rows; unfrozen split
    // panes measure the split in twentieths of a point instead. Both zero: one pane.
    bool frozen = false;
    int splitColumns = 0;
    int splitRows = 0;
    int paneTopRow = 0;          // the first row of the lower panes
    int paneLeftColumn = 0;      // the first column of the right-hand panes
    std::uint8_t activePane = 3; // 0 lower right, 1 upper right, 2 lower left, 3 upper left

    friend bool operator==(const SheetView&, const SheetView&) = default;
};

// Tools, Protection. The password is kept as the 16-bit hash Excel stores, never as text.
struct SheetProtection {
    bool contents = false;
    bool objects = false;
    bool scenarios = false;
    std::uint16_t passwordHash = 0; // 0: no password
    // What users may still do on the protected sheet (select locked cells, format cells, insert rows
    // ...), as a bit set in the form later Excel versions store beside the protection; nothing when
    // the file gave none.
    std::optional<std::uint32_t> allowedActions;

    friend bool operator==(const SheetProtection&, const SheetProtection&) = default;
};

struct WorkbookProtection {
    bool structure = false;
    bool windows = false;
    std::uint16_t passwordHash = 0;

    friend bool operator==(const WorkbookProtection&, const WorkbookProtection&) = default;
};

} // namespace engine
