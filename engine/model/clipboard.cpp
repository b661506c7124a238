#include "engine/model/clipboard.h"

#include "engine/core/error.h"
#include "engine/formula/adjust.h"
#include "engine/model/sheet.h"
#include "engine/model/workbook.h"

namespace engine {

namespace {

// Moves the references of a moved formula that point into its own moved area; the rest stay.
void moveInside(std::span<formula::Token> program, const Area& moved, int rows, int cols) {
    using formula::TokenKind;
    for (formula::Token& t : program) {
        if ((t.kind != TokenKind::Ref && t.kind != TokenKind::Area) || t.sheet != formula::kOwnSheet)
            continue;
        formula::AreaBits& b = t.payload.area;
        const bool single = t.kind == TokenKind::Ref; // its corners are one cell
        const int bottom = single ? b.top : b.bottom, right = single ? b.left : b.right;
        if (!moved.contains(b.top, b.left) || !moved.contains(bottom, right))
            continue;
        // Inside the moved area, so inside the sheet where it lands.
        if (!(t.flags & formula::kWholeColumns)) {
            b.top = static_cast<std::uint16_t>(b.top + rows);
            b.bottom = static_cast<std::uint16_t>(single ? b.bottom : b.bottom + rows);
        }
        if (!(t.flags & formula::kWholeRows)) {
            b.left = static_cast<std::uint8_t>(b.left + cols);
            b.right = static_cast<std::uint8_t>(single ? b.right : b.right + cols);
        }
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
        auto program = sheet.formulaProgram(row, col);
        item.formula.assign(program.begin(), program.end());
        auto runs = sheet.textRuns(row, col);
        item.runs.assign(runs.begin(), runs.end());
        item.format = sheet.format(row, col);
        s.items.push_back(std::move(item));
    });
    const Workbook& book = sheet.workbook();
    for (int i = 0; i < book.sheetCount(); ++i)
        s.sheets.emplace_back(book.sheet(i).id(), book.sheet(i).name());
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
    formula::SheetNames source;
    source.name = [&snapshot](formula::SheetId id) -> std::optional<std::u16string> {
        for (const auto& [sheetId, name] : snapshot.sheets)
            if (sheetId == id)
                return name;
        return std::nullopt;
    };
    formula::Program moved;
    // Row and column formats first: cells created below take them up. Whole rows were cleared to the
    // default format above, so only another one is written.
    for (std::size_t i = 0; i < snapshot.rowFormats.size(); ++i) {
        FormatId id = formats.intern(snapshot.rowFormats[i]);
        if (id != kDefaultFormat)
            sheet.editRow(at.row + static_cast<int>(i)).format = id;
    }
    for (std::size_t i = 0; i < snapshot.columnFormats.size(); ++i)
        sheet.editColumn(at.col + static_cast<int>(i)).format = formats.intern(snapshot.columnFormats[i]);
    for (const Snapshot::Item& item : snapshot.items) {
        int row = at.row + item.row, col = at.col + item.col;
        sheet.setFormat(Area::cell(row, col), formats.intern(item.format));
        if (!item.formula.empty() && mode != PasteMode::ValuesAndFormats) {
            moved = item.formula;
            if (mode == PasteMode::Formulas)
                formula::moveRelative(moved, dRow, dCol);
            else
                moveInside(moved, snapshot.source, dRow, dCol);
            try {
                formula::rebindSheets(moved, source, sheet.workbook().sheetNames());
                sheet.setFormula(row, col, moved);
                continue;
            } catch (const EngineError&) {
                // It names a sheet this workbook lacks: keep what it showed.
            }
        }
        if (!item.runs.empty())
            sheet.setRichText(row, col, item.value.asText(), item.runs);
        else
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
