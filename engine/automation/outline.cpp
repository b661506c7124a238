#include "engine/automation/outline.h"

namespace engine::automation {

std::optional<std::pair<int, int>> detailRows(const Sheet& sheet, int row) {
    int level = sheet.row(row).outlineLevel;
    if (sheet.outline().summaryRowsBelow) {
        int first = row;
        while (first > 0 && sheet.row(first - 1).outlineLevel > level)
            --first;
        if (first == row)
            return std::nullopt;
        return std::pair(first, row - 1);
    }
    int last = row;
    while (last < kLastRow && sheet.row(last + 1).outlineLevel > level)
        ++last;
    if (last == row)
        return std::nullopt;
    return std::pair(row + 1, last);
}

bool showRowDetail(Sheet& sheet, int row, bool show) {
    auto detail = detailRows(sheet, row);
    if (!detail)
        return false;
    sheet.editRow(row).collapsed = !show;
    bool below = sheet.outline().summaryRowsBelow;
    // Walk the detail from the summary row outwards, so that a nested summary row is met before its
    // own detail, whose rows stay hidden while it is collapsed.
    int step = below ? -1 : 1;
    int from = below ? detail->second : detail->first;
    int to = below ? detail->first : detail->second;
    int hiddenDeeperThan = -1;
    for (int r = from; r != to + step; r += step) {
        RowProperties& props = sheet.editRow(r);
        if (!show) {
            props.hidden = true;
            continue;
        }
        if (hiddenDeeperThan >= 0 && props.outlineLevel > hiddenDeeperThan) {
            props.hidden = true;
            continue;
        }
        hiddenDeeperThan = props.collapsed ? props.outlineLevel : -1;
        props.hidden = false;
    }
    return true;
}

} // namespace engine::automation
