#include "desktop/sheet_printer.h"

#include "desktop/border_pen.h"
#include "desktop/grid_view.h"

#include <QApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

namespace desktop {

namespace {

constexpr double kPixelsPerInch = 96;

// Fonts sized in pixels of the print's own unit, whatever the device's resolution.
QFont printFont(QFont font) {
    if (font.pointSizeF() > 0)
        font.setPixelSize(int(std::lround(font.pointSizeF() * kPixelsPerInch / 72)));
    return font;
}

} // namespace

SheetPrinter::SheetPrinter(const engine::Sheet& sheet, const engine::Area& area, const PageSetup& setup,
                           QString file)
    : area_(area), setup_(setup), file_(std::move(file)) {
    model_.setSheet(&sheet);
    model_.setExtent(area.bottom + 1, area.right + 1);
    layOut();
}

void SheetPrinter::layOut() {
    QSizeF points = QPageLayout(QPageSize(setup_.paper), setup_.orientation, QMarginsF())
                        .fullRect(QPageLayout::Point)
                        .size();
    paper_ = points * kPixelsPerInch / 72;
    QSizeF content(paper_.width() - (setup_.left + setup_.right) * kPixelsPerInch,
                   paper_.height() - (setup_.top + setup_.bottom) * kPixelsPerInch);
    scale_ = setup_.scale / 100.0;
    const engine::Sheet& sheet = *model_.sheet();
    if (setup_.fitToWidth) {
        double wide = 0;
        for (int c = area_.left; c <= area_.right; ++c)
            if (!sheet.column(c).hidden)
                wide += GridView::columnPixels(sheet.column(c).width);
        scale_ = wide > content.width() ? content.width() / wide : 1;
    }
    pages_ = layoutPages(sheet, area_, setup_, content / scale_);
}

bool SheetPrinter::print(QPagedPaintDevice& device) {
    if (auto* printer = dynamic_cast<QPrinter*>(&device))
        printer->setFullPage(true); // the margins are the page setup's
    device.setPageLayout(QPageLayout(QPageSize(setup_.paper), setup_.orientation, QMarginsF(0, 0, 0, 0)));
    QPainter p(&device);
    if (!p.isActive())
        return false;
    const double unit = device.logicalDpiX() / kPixelsPerInch;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (i > 0)
            device.newPage();
        p.save();
        p.scale(unit, unit);
        paintPage(p, i);
        p.restore();
    }
    return p.end();
}

void SheetPrinter::printHeader(QPainter& p, const QString& codes, double baseline, std::size_t index) const {
    HeaderParts parts =
        expandHeader(codes, {QString::fromStdU16String(model_.sheet()->name()), file_, int(index) + 1,
                             int(pages_.size()), QDateTime::currentDateTime()});
    QFont font = printFont(QApplication::font());
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(Qt::black);
    double left = setup_.left * kPixelsPerInch,
           width = paper_.width() - (setup_.left + setup_.right) * kPixelsPerInch;
    QRectF line(left, baseline - 20, width, 20);
    p.drawText(line, Qt::AlignLeft | Qt::AlignBottom, parts.left);
    p.drawText(line, Qt::AlignHCenter | Qt::AlignBottom, parts.center);
    p.drawText(line, Qt::AlignRight | Qt::AlignBottom, parts.right);
}

void SheetPrinter::paintPage(QPainter& p, std::size_t index) const {
    const PrintPage& page = pages_[index];
    printHeader(p, setup_.headerText, setup_.header * kPixelsPerInch + 20, index);
    printHeader(p, setup_.footerText, paper_.height() - setup_.footer * kPixelsPerInch, index);
    const engine::Sheet& sheet = *model_.sheet();

    p.save();
    p.translate(setup_.left * kPixelsPerInch, setup_.top * kPixelsPerInch);
    p.scale(scale_, scale_);
    std::vector<double> xs{0}, ys{0}; // where each column (row) of the page begins, and the end
    for (int c : page.columns)
        xs.push_back(xs.back() + GridView::columnPixels(sheet.column(c).width));
    for (int r : page.rows)
        ys.push_back(ys.back() + GridView::rowPixels(sheet.rowHeight(r)));
    auto cellRect = [&](std::size_t ri, std::size_t ci) {
        return QRectF(xs[ci], ys[ri], xs[ci + 1] - xs[ci], ys[ri + 1] - ys[ri]);
    };

    // Fills and gridlines first, so that text running over into empty neighbours lies on top of them.
    for (std::size_t ri = 0; ri < page.rows.size(); ++ri)
        for (std::size_t ci = 0; ci < page.columns.size(); ++ci) {
            QModelIndex at = model_.index(page.rows[ri], page.columns[ci]);
            QRectF r = cellRect(ri, ci);
            if (QVariant fill = at.data(Qt::BackgroundRole); fill.isValid())
                p.fillRect(r, fill.value<QColor>());
            if (setup_.gridlines) {
                p.setPen(QPen(Qt::lightGray, 0));
                p.drawRect(r);
            }
        }
    for (std::size_t ri = 0; ri < page.rows.size(); ++ri)
        for (std::size_t ci = 0; ci < page.columns.size(); ++ci) {
            int row = page.rows[ri], col = page.columns[ci];
            QModelIndex at = model_.index(row, col);
            QString text = at.data(Qt::DisplayRole).toString();
            const engine::Format& format = model_.format(row, col);
            QRectF r = cellRect(ri, ci);
            if (!text.isEmpty()) {
                auto align = Qt::Alignment(at.data(Qt::TextAlignmentRole).toInt());
                QRectF room = r;
                // Text that does not wrap runs on over the empty cells to its right, as on the screen.
                if (!format.wrapText && (align & Qt::AlignLeft))
                    for (std::size_t next = ci + 1;
                         next < page.columns.size() && model_.shownText(row, page.columns[next]).empty();
                         ++next)
                        room.setRight(xs[next + 1]);
                QVariant font = at.data(Qt::FontRole);
                p.setFont(printFont(font.isValid() ? font.value<QFont>() : QApplication::font()));
                QVariant color = at.data(Qt::ForegroundRole);
                p.setPen(color.isValid() ? color.value<QColor>() : QColor(Qt::black));
                p.save();
                p.setClipRect(room);
                p.drawText(room.adjusted(2, 1, -2, -1), int(align) | (format.wrapText ? Qt::TextWordWrap : 0),
                           text);
                p.restore();
            }
            // Left, right, top, bottom, as the model keeps them.
            const QLineF edges[] = {{r.topLeft(), r.bottomLeft()},
                                    {r.topRight(), r.bottomRight()},
                                    {r.topLeft(), r.topRight()},
                                    {r.bottomLeft(), r.bottomRight()}};
            for (int e = 0; e < 4; ++e) {
                const engine::Border& b = format.borders[std::size_t(e)];
                if (b.style == engine::LineStyle::None)
                    continue;
                p.setPen(borderPen(b));
                p.drawLine(edges[e]);
            }
        }
    p.restore();
}

} // namespace desktop
