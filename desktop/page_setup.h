#pragma once

#include "engine/model/sheet.h"

#include <QDateTime>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

// How a sheet is printed, as a spreadsheet's Page Setup holds it: paper and orientation, margins and the
// header and footer in inches, scale or one page wide, gridlines. A sheet prints with the page setup its
// file gave it, or with the spreadsheet's defaults; the print preview changes them for one print.
namespace desktop {

struct PageSetup {
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double left = 0.75, right = 0.75, top = 1, bottom = 1; // inches
    double header = 0.5, footer = 0.5;                     // from the paper's edge to the text
    // In the spreadsheet's codes: &L, &C and &R begin the left, centre and right parts; &A is the sheet's
    // name, &F the file's, &P the page, &N the number of pages, &D and &T the date and time, && an "&".
    QString headerText = QStringLiteral("&C&A");
    QString footerText = QStringLiteral("&C第 &P 页，共 &N 页");
    bool gridlines = false;
    int scale = 100;         // percent
    bool fitToWidth = false; // scaled down to one page wide instead
    // Each outline group of rows (a summary row and its detail) begins a page; otherwise a group that
    // would be split starts the next page when it fits on one.
    bool groupPerPage = false;
};

// The page setup a sheet prints with: its own where the preview has the setting.
PageSetup pageSetupOf(const engine::Sheet& sheet);

// A header or footer for one page: its three parts with the codes replaced.
struct HeaderParts {
    QString left, center, right;
};
struct HeaderContext {
    QString sheet, file;
    int page = 1, pages = 1;
    QDateTime when;
};
HeaderParts expandHeader(const QString& codes, const HeaderContext& context);

} // namespace desktop
