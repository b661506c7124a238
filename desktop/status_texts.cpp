#include "desktop/status_texts.h"

#include "engine/core/text.h"

namespace desktop {

namespace {

QString number(double n) {
    return QString::fromStdU16String(engine::toText(engine::Value::number(n)));
}

} // namespace

SelectionTotals selectionTotals(const engine::Sheet& sheet, const std::vector<engine::Area>& areas) {
    SelectionTotals totals;
    for (const engine::Area& area : areas)
        sheet.forEachValue(area, [&](int row, int col, const engine::ValueView& value) {
            if (sheet.row(row).hidden || sheet.column(col).hidden)
                return;
            ++totals.filled;
            if (value.kind == engine::Value::Kind::Number) {
                ++totals.numbers;
                totals.sum += value.number;
            }
        });
    return totals;
}

QString selectionText(const SelectionTotals& totals) {
    if (totals.filled < 2)
        return {};
    QString count = QStringLiteral("计数: %1").arg(totals.filled);
    if (totals.numbers == 0)
        return count;
    return QStringLiteral("平均值: %1    %2    求和: %3")
        .arg(number(totals.sum / double(totals.numbers)), count, number(totals.sum));
}

QString rowCountText(const std::optional<engine::Area>& used) {
    return QStringLiteral("共 %1 行").arg(used ? used->bottom + 1 : 0);
}

} // namespace desktop
