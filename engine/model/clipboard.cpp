#include "engine/model/clipboard.h"

#include "engine/core/error.h"
#include "engine/formula/adjust.h"
#include "engine/model/sheet.h"
#include "engine/model/workbook.h"

namespace engine {

namespace {

// Moves the references of a moved formula that point into its own moved area; the rest stay.
void moveInside(formula::Node& n, const Area& moved, int rows, int cols) {
    for (formula::Node& a : n.args)
        moveInside(a, moved, rows, cols);
    if (!n.isReference() || n.sheet)
        return;
    if (!moved.contains(n.first.row, n.first.col) || !moved.contains(n.last.row, n.last.col))
        return;
    if (n.kind != formula::NodeKind::Columns) {
        n.first.row += rows;
        n.last.row += rows;
    }
    if (n.kind != formula::NodeKind::Rows) {
        n.first.col += cols;
        n.last.col += cols;
    }
}

} // namespace

Snapshot takeSnapshot(const Sheet& sheet, const Area& area) {
    checkArea(area);
    Snapshot s;
    s.source = area;
    sheet.forEachCell(area, [&](int row, int col) {
        Snapshot::Item item;
        item.row = row - area.top;
        item.col = col - area.left;
        item.value = sheet.value(row, col);
        item.formula = sheet.formulaTree(row, col);
        item.format = sheet.format(row, col);
        s.items.push_back(std::move(item));
    });
    if (area.isWholeRows())
        for (int r = area.top; r <= area.bottom; ++r) {
            const RowProperties& p = sheet.row(r);
            s.rowHeights.push_back(p.customHeight ? std::optional(p.height) : std::nullopt);
            s.rowFormats.push_back(sheet.workbook().formats().get(p.format));
        }
    if (area.isWholeColumns())
        for (int c = area.left; c <= area.right; ++c) {
            const ColumnProperties& p = sheet.column(c);
            s.columnWidths.push_back(p.customWidth ? std::optional(p.width) : std::nullopt);
            s.columnFormats.push_back(sheet.workbook().formats().get(p.format));
        }
    return s;
}

Area paste(Sheet& sheet, CellAddress at, const Snapshot& snapshot, PasteMode mode) {
    Area target{at.row, at.col, at.row + snapshot.rowCount() - 1, at.col + snapshot.columnCount() - 1};
    if (at.row < 0 || at.col < 0 || target.bottom > kLastRow || target.right > kLastColumn)
        throw EngineError("the copied cells do not fit on the sheet there");
    int dRow = at.row - snapshot.source.top, dCol = at.col - snapshot.source.left;
    sheet.clear(target);
    FormatTable& formats = sheet.workbook().formats();
    // Row and column formats first: cells created below take them up.
    for (std::size_t i = 0; i < snapshot.rowFormats.size(); ++i) {
        FormatId id = formats.intern(snapshot.rowFormats[i]);
        if (id != kDefaultFormat || sheet.row(at.row + static_cast<int>(i)).format != kDefaultFormat)
            sheet.editRow(at.row + static_cast<int>(i)).format = id;
    }
    for (std::size_t i = 0; i < snapshot.columnFormats.size(); ++i)
        sheet.editColumn(at.col + static_cast<int>(i)).format = formats.intern(snapshot.columnFormats[i]);
    for (const Snapshot::Item& item : snapshot.items) {
        int row = at.row + item.row, col = at.col + item.col;
        sheet.setFormat(Area::cell(row, col), formats.intern(item.format));
        if (item.formula && mode != PasteMode::ValuesAndFormats) {
            formula::Node tree = *item.formula;
            if (mode == PasteMode::Formulas)
                formula::moveRelative(tree, dRow, dCol);
            else
                moveInside(tree, snapshot.source, dRow, dCol);
            try {
                sheet.setFormula(row, col, tree);
                continue;
            } catch (const EngineError&) {
                // It names a sheet this workbook lacks: keep what it showed.
            }
        }
        sheet.setValue(row, col, item.value);
    }
    for (std::size_t i = 0; i < snapshot.rowHeights.size(); ++i)
        if (snapshot.rowHeights[i]) {
            RowProperties& p = sheet.editRow(at.row + static_cast<int>(i));
            p.height = *snapshot.rowHeights[i];
            p.customHeight = true;
        }
    for (std::size_t i = 0; i < snapshot.columnWidths.size(); ++i)
        if (snapshot.columnWidths[i] && at.col + static_cast<int>(i) <= kLastColumn) {
            ColumnProperties& p = sheet.editColumn(at.col + static_cast<int>(i));
            p.width = *snapshot.columnWidths[i];
            p.customWidth = true;
        }
    return target;
}

} // namespace engine
