#include "desktop/navigation.h"

namespace desktop {

namespace {

// The next shown cell along the move, or nothing at the sheet's edge.
std::optional<engine::CellAddress> step(const engine::Sheet& sheet, engine::CellAddress at, int rows,
                                        int cols) {
    do {
        at.row += rows;
        at.col += cols;
        if (at.row < 0 || at.row > engine::kLastRow || at.col < 0 || at.col > engine::kLastColumn)
            return std::nullopt;
    } while (rows != 0 ? sheet.row(at.row).hidden : sheet.column(at.col).hidden);
    return at;
}

} // namespace

engine::CellAddress dataEdge(const engine::Sheet& sheet, engine::CellAddress from, int rows, int cols) {
    auto filled = [&](engine::CellAddress a) {
        return sheet.hasContent(a.row, a.col);
    };
    std::optional<engine::CellAddress> next = step(sheet, from, rows, cols);
    if (!next)
        return from;
    engine::CellAddress at = *next;
    if (filled(from) && filled(at)) {
        while (auto further = step(sheet, at, rows, cols)) {
            if (!filled(*further))
                break;
            at = *further;
        }
        return at;
    }
    // Past the sheet's stored rows nothing has content: straight to the edge.
    while (!filled(at)) {
        if (rows > 0 && at.row >= sheet.rowExtent())
            at.row = engine::kLastRow;
        std::optional<engine::CellAddress> further = step(sheet, at, rows, cols);
        if (!further)
            return at;
        at = *further;
    }
    return at;
}

engine::CellAddress lastUsedCell(const engine::Sheet& sheet) {
    std::optional<engine::Area> used = sheet.usedArea();
    return used ? engine::CellAddress{used->bottom, used->right} : engine::CellAddress{};
}

} // namespace desktop
