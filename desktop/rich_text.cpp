#include "desktop/rich_text.h"

#include "desktop/sheet_model.h"

#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>

namespace desktop {

namespace {
// The space the plain cell text keeps from the cell's sides.
constexpr int kMargin = 2;
} // namespace

void drawRichText(QPainter& painter, const QRect& rect, const RichCell& cell, const QColor& automatic) {
    QTextDocument doc;
    doc.setDocumentMargin(0);
    doc.setDefaultFont(cell.font);
    QTextOption option(cell.alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(cell.wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
    doc.setDefaultTextOption(option);
    QRect inside = rect.adjusted(kMargin, 0, -kMargin, 0);
    doc.setTextWidth(inside.width());

    QTextCursor cursor(&doc);
    auto insert = [&](qsizetype from, qsizetype to, const QFont& font, const QColor& color) {
        if (to <= from)
            return;
        QTextCharFormat f;
        f.setFont(font);
        f.setForeground(color.isValid() ? color : automatic);
        cursor.insertText(cell.text.mid(from, to - from), f);
    };
    const qsizetype length = cell.text.size();
    qsizetype first = cell.runs.empty() ? length : std::min<qsizetype>(cell.runs.front().start, length);
    insert(0, first, cell.font, cell.color);
    for (size_t i = 0; i < cell.runs.size(); ++i) {
        qsizetype from = std::min<qsizetype>(cell.runs[i].start, length);
        qsizetype to =
            i + 1 < cell.runs.size() ? std::min<qsizetype>(cell.runs[i + 1].start, length) : length;
        insert(from, to, cellFont(cell.runs[i].font, cell.base), paletteColor(cell.runs[i].font.colorIndex));
    }

    double height = doc.size().height();
    double top = inside.top();
    if (cell.alignment & Qt::AlignBottom)
        top = inside.bottom() + 1 - height;
    else if (cell.alignment & Qt::AlignVCenter)
        top = inside.top() + (inside.height() - height) / 2;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.translate(inside.left(), top);
    doc.drawContents(&painter);
    painter.restore();
}

} // namespace desktop
