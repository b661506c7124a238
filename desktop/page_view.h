#pragma once

#include <QWidget>

// One printed page on the screen, as paper with a shadow: painted by the sheet printer when it shows, so
// that a print of thousands of pages previews at once. Sized to the paper at its zoom (1 = 96 pixels to
// the inch); it sits in a scroll area when larger than the window.
namespace desktop {

class SheetPrinter;

class PageView : public QWidget {
public:
    explicit PageView(QWidget* parent);

    void showPage(const SheetPrinter* printer, int page);
    int page() const { return page_; }
    double zoom() const { return zoom_; }
    void setZoom(double zoom);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize pageSize() const;

    const SheetPrinter* printer_ = nullptr;
    int page_ = 0;
    double zoom_ = 0.6;
};

} // namespace desktop
