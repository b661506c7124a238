#include "desktop/page_view.h"

#include "desktop/sheet_printer.h"

#include <QPainter>

namespace desktop {

namespace {
constexpr int kRim = 12; // grey around the paper, the shadow included
constexpr int kShadow = 4;
} // namespace

PageView::PageView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageView::showPage(const SheetPrinter* printer, int page) {
    printer_ = printer;
    page_ = page;
    setFixedSize(pageSize() + QSize(2 * kRim, 2 * kRim));
    update();
}

void PageView::setZoom(double zoom) {
    zoom_ = zoom;
    setFixedSize(pageSize() + QSize(2 * kRim, 2 * kRim));
    update();
}

QSize PageView::pageSize() const {
    if (!printer_)
        return {};
    return (printer_->paper() * zoom_).toSize();
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Dark));
    if (!printer_)
        return;
    QRect paper(QPoint(kRim, kRim), pageSize());
    p.fillRect(paper.translated(kShadow, kShadow), Qt::black);
    p.fillRect(paper, Qt::white);
    if (page_ < 0 || std::size_t(page_) >= printer_->pages().size())
        return;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(paper.topLeft());
    p.scale(zoom_, zoom_);
    p.setClipRect(QRectF(QPointF(0, 0), printer_->paper()));
    printer_->paintPage(p, std::size_t(page_));
}

} // namespace desktop
