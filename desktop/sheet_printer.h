#pragma once

#include "desktop/page_setup.h"
#include "desktop/print_layout.h"
#include "desktop/sheet_model.h"

#include <QString>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// Prints an area of a sheet on a paged device (a printer, the print preview, a PDF file) as the grid shows
// its cells (values, fills, fonts, alignment, borders), with the page setup's paper, margins, scale,
// header and footer. The sheet must not change while a print is made.
namespace desktop {

class SheetPrinter {
public:
    // `file` is the workbook's name, for a header that asks for it.
    SheetPrinter(const engine::Sheet& sheet, const engine::Area& area, const PageSetup& setup, QString file);

    // The pages, laid out for the page setup's paper when the printer was made.
    const std::vector<PrintPage>& pages() const { return pages_; }
    // The paper's size in pixels at 96 to the inch.
    QSizeF paper() const { return paper_; }
    // Paints one page, header and footer included, in pixels at 96 to the inch from the paper's corner.
    void paintPage(QPainter& p, std::size_t index) const;
    // Gives the device the page setup's paper and orientation and prints every page; false when the
    // device could not be painted on.
    bool print(QPagedPaintDevice& device);

private:
    void layOut();
    void printHeader(QPainter& p, const QString& codes, double baseline, std::size_t index) const;

    SheetModel model_; // the cells as the grid shows them
    engine::Area area_;
    PageSetup setup_;
    QString file_;
    QSizeF paper_; // pixels at 96 to the inch
    double scale_ = 1;
    std::vector<PrintPage> pages_;
};

} // namespace desktop
