#pragma once

#include "desktop/page_setup.h"

#include <QDialog>
#include <filesystem>
#include <optional>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;

// The print preview of a sheet (Ctrl+P): its pages as they will print, with the choices a clerk makes
// before printing (orientation, one page wide, a page per group, the whole sheet or the selection), and
// from there printing through the system's print dialog or export to a PDF file.
namespace desktop {

class PrintPreview : public QDialog {
public:
    // `selection` is offered beside the whole sheet when it is more than one cell.
    PrintPreview(QWidget* parent, const engine::Sheet& sheet, std::optional<engine::Area> selection,
                 QString file);
    ~PrintPreview() override;

    PageSetup& setup() { return setup_; }
    void setSelectionOnly(bool only);
    // Shows the pages again after a choice changed.
    void update();
    int pageCount() const;
    // Prints to a PDF file, replacing it only once the new one is whole; false when it could not be
    // written.
    bool exportPdf(const std::filesystem::path& file);
    // Asks where, then exports; says so when the file could not be written.
    void askAndExport();

private:
    bool render(QPrinter& printer);
    void print();
    std::optional<engine::Area> area() const;

    const engine::Sheet& sheet_;
    std::optional<engine::Area> selection_;
    bool selectionOnly_ = false;
    QString file_;
    PageSetup setup_;
    std::unique_ptr<QPrinter> printer_;
    QPrintPreviewWidget* preview_;
    QLabel* pageLabel_;
};

} // namespace desktop
