#pragma once

#include "engine/model/format.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <span>

class QPainter;

// A cell's rich text on the screen: each run in its own font and colour.
namespace desktop {

struct RichCell {
    QString text;
    std::span<const engine::TextRun> runs; // the text before the first run is in the cell's font
    QFont font;                            // the cell's
    QColor color;                          // the cell's text colour
    engine::Font base;                     // the workbook's default font, for runs that keep to it
    Qt::Alignment alignment;
    bool wrap = false;
};

// Draws the text inside `rect` (and nowhere else), placed as `alignment` says and wrapped at words when
// the cell wraps. A run in the automatic colour is drawn in the window text colour `automatic`.
void drawRichText(QPainter& painter, const QRect& rect, const RichCell& cell, const QColor& automatic);

} // namespace desktop
