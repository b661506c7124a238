#include "desktop/border_pen.h"

#include "desktop/sheet_model.h"

namespace desktop {

QPen borderPen(const engine::Border& border) {
    QColor color = paletteColor(border.colorIndex);
    QPen pen(color.isValid() ? color : QColor(Qt::black));
    switch (border.weight) {
    case engine::BorderWeight::Medium:
        pen.setWidth(2);
        break;
    case engine::BorderWeight::Thick:
        pen.setWidth(3);
        break;
    default:
        pen.setWidth(1);
    }
    switch (border.style) {
    case engine::LineStyle::Dash:
        pen.setStyle(Qt::CustomDashLine);
        pen.setDashPattern({3, 2});
        break;
    case engine::LineStyle::Dot:
        pen.setStyle(Qt::DotLine);
        break;
    case engine::LineStyle::DashDot:
    case engine::LineStyle::SlantDashDot:
        pen.setStyle(Qt::DashDotLine);
        break;
    case engine::LineStyle::DashDotDot:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        pen.setStyle(Qt::SolidLine);
    }
    return pen;
}

} // namespace desktop
