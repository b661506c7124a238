#pragma once

#include "desktop/page_setup.h"

#include <QDialog>
#include <filesystem>
#include <memory>
#include <optional>

class QLabel;
class QScrollArea;

// The print preview of a sheet (Ctrl+P): its pages as they will print, one at a time (PageUp and PageDown
// turn them, Ctrl+Home and Ctrl+End go to the first and the last), with the choices a clerk makes before
// printing (orientation, one page wide, a page per group, the whole sheet or the selection), and from there
// printing through the system's print dialog or export to a PDF file.
namespace desktop {

class PageView;
class SheetPrinter;

class PrintPreview : public QDialog {
public:
    // `selection` is offered beside the whole sheet when it is more than one cell.
    PrintPreview(QWidget* parent, const engine::Sheet& sheet, std::optional<engine::Area> selection,
                 QString file);
    ~PrintPreview() override;

    PageSetup& setup() { return setup_; }
    void setSelectionOnly(bool only);
    // Lays the pages out again after a choice changed.
    void update();
    int pageCount() const;
    // The page shown, from 0.
    int currentPage() const;
    void showPage(int page);
    // Prints to a PDF file, replacing it only once the new one is whole; false when it could not be
    // written.
    bool exportPdf(const std::filesystem::path& file);
    // Asks where, then exports; says so when the file could not be written.
    void askAndExport();

private:
    void print();
    std::optional<engine::Area> area() const;
    // Pages of the sheet or the selection, as chosen now, laid out for `setup`.
    std::unique_ptr<SheetPrinter> printer(const PageSetup& setup) const;

    const engine::Sheet& sheet_;
    std::optional<engine::Area> selection_;
    bool selectionOnly_ = false;
    QString file_;
    PageSetup setup_;
    std::unique_ptr<SheetPrinter> pages_;
    QScrollArea* scroll_;
    PageView* view_;
    QLabel* pageLabel_;
};

} // namespace desktop
