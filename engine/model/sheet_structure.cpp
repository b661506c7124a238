// Insertion and deletion of rows, columns and cells, and the adjustment of everything that refers to
// the cells they move.
#include "engine/core/error.h"
#include "engine/model/sheet.h"
#include "engine/model/workbook.h"

#include <algorithm>

namespace engine {

using detail::Cell;
using detail::CellKind;

namespace {

auto byColumn = [](const Cell& c, int col) {
    return c.col < col;
};

void checkCount(int at, int count, int limit) {
    if (count < 1 || at < 0 || at > limit || count > limit + 1)
        throw EngineError("rows or columns out of the sheet");
}

CellAddress topLeft(const std::vector<Area>& areas) {
    CellAddress corner{kLastRow, kLastColumn};
    for (const Area& a : areas)
        corner = {std::min(corner.row, a.top), std::min(corner.col, a.left)};
    return corner;
}

// Where the cell that stands at `cell` after the edit stood before it.
CellAddress formerPlace(CellAddress cell, const formula::StructuralEdit& edit) {
    int& along = edit.vertical ? cell.row : cell.col;
    const int across = edit.vertical ? cell.col : cell.row;
    if (across < edit.first || across > edit.last)
        return cell;
    if (edit.insert && along >= edit.at + edit.count)
        along -= edit.count;
    else if (!edit.insert && along >= edit.at)
        along += edit.count;
    return cell;
}

} // namespace

void Sheet::checkNothingPushedOff(const Area& leaving) const {
    bool content = false;
    forEachCell(leaving, [&](int r, int c) { content = content || hasContent(r, c); });
    if (content)
        throw EngineError("cells with content would be pushed off the sheet");
}

void Sheet::adjustReferences(const formula::StructuralEdit& edit) {
    // Replaced formulas' tokens still in an arena are adjusted too: harmless, and one straight pass.
    if (formula::mayAffect(referenced_, edit)) {
        formula::Reach reach;
        for (auto& sheet : book_.sheets_)
            formula::adjustProgram(sheet->code_, sheet->id_, edit, reach);
        book_.names_.adjust(edit, reach);
        referenced_ = reach;
    }
    std::vector<Area> merges;
    for (const Area& m : merges_)
        if (auto a = formula::adjustArea(m, edit))
            merges.push_back(*a);
    merges_ = std::move(merges);
    std::vector<Area> arrays; // whole, as checkArraysStayWhole made sure
    for (const Area& a : arrays_)
        if (auto moved = formula::adjustArea(a, edit))
            arrays.push_back(*moved);
    arrays_ = std::move(arrays);
    for (Validation& v : validations_) {
        std::vector<Area> areas;
        for (const Area& a : v.areas)
            if (auto moved = formula::adjustArea(a, edit))
                areas.push_back(*moved);
        v.areas = std::move(areas);
    }
    std::erase_if(validations_, [](const Validation& v) { return v.areas.empty(); });
    moveExtras(edit);
    for (SheetFollower* f = followers_; f;) {
        SheetFollower* next = f->next_; // the one told may leave
        f->structureChanged(edit);
        f = next;
    }
    contentChanged();
}

void Sheet::moveExtras(const formula::StructuralEdit& edit) {
    auto moveBreaks = [&](std::vector<PageBreak>& breaks, bool rows) {
        std::vector<PageBreak> kept;
        for (const PageBreak& b : breaks) {
            Area line = rows ? Area{b.at, b.first, b.at, b.last} : Area{b.first, b.at, b.last, b.at};
            if (auto m = formula::adjustArea(line, edit))
                kept.push_back(rows ? PageBreak{m->top, m->left, m->right}
                                    : PageBreak{m->left, m->top, m->bottom});
        }
        breaks = std::move(kept);
    };
    moveBreaks(rowBreaks_, true);
    moveBreaks(columnBreaks_, false);
    std::vector<Hyperlink> links;
    for (Hyperlink& link : hyperlinks_)
        if (auto a = formula::adjustArea(link.area, edit)) {
            link.area = *a;
            links.push_back(std::move(link));
        }
    hyperlinks_ = std::move(links);
    for (ConditionalFormat& f : conditionalFormats_) {
        const CellAddress origin = topLeft(f.areas);
        std::vector<Area> areas;
        for (const Area& a : f.areas)
            if (auto moved = formula::adjustArea(a, edit))
                areas.push_back(*moved);
        f.areas = std::move(areas);
        if (f.areas.empty())
            continue;
        // The rules' formulas refer to cells of this sheet only, as if they stood in the areas' top-left
        // cell. They are adjusted as the formula of the cell that becomes the top-left one: when the
        // old one is deleted, the rules go on from the next, as in every other cell of the format.
        const CellAddress next = formerPlace(topLeft(f.areas), edit);
        formula::Reach reach;
        for (ConditionalRule& rule : f.rules)
            for (formula::Program* p : {&rule.formula1, &rule.formula2}) {
                formula::moveRelative(*p, next.row - origin.row, next.col - origin.col);
                formula::adjustProgram(*p, id_, edit, reach);
            }
    }
    std::erase_if(conditionalFormats_, [](const ConditionalFormat& f) { return f.areas.empty(); });
    moveComments(edit);
    moveAutoFilter(edit);
}

void Sheet::moveAutoFilter(const formula::StructuralEdit& edit) {
    if (!autoFilter_)
        return;
    const Area range = autoFilter_->range;
    auto moved = formula::adjustArea(range, edit);
    if (!moved) {
        autoFilter_.reset();
        return;
    }
    // A condition goes with its column, and goes when its column is deleted.
    std::vector<FilterColumn> kept;
    for (FilterColumn& c : autoFilter_->columns)
        if (auto column = formula::adjustArea({range.top, c.col, range.bottom, c.col}, edit)) {
            c.col = column->left;
            kept.push_back(std::move(c));
        }
    autoFilter_->range = *moved;
    autoFilter_->columns = std::move(kept);
}

void Sheet::moveComments(const formula::StructuralEdit& edit) {
    // A box goes along with its cell by as much as the cell moves, as far as the sheet reaches.
    auto shift = [](int& at, int by, int last) {
        at = std::clamp(at + by, 0, last);
    };
    std::vector<Comment> kept;
    for (Comment& c : comments_) {
        auto moved = formula::adjustArea(Area::cell(c.cell.row, c.cell.col), edit);
        if (!moved)
            continue;
        const int down = moved->top - c.cell.row, across = moved->left - c.cell.col;
        shift(c.box.top, down, kLastRow);
        shift(c.box.bottom, down, kLastRow);
        shift(c.box.left, across, kLastColumn);
        shift(c.box.right, across, kLastColumn);
        c.cell = {moved->top, moved->left};
        kept.push_back(std::move(c));
    }
    comments_ = std::move(kept);
}

void Sheet::insertRows(int row, int count) {
    checkCount(row, count, kLastRow);
    const formula::StructuralEdit edit{id_, true, true, row, count, 0, kLastColumn};
    checkArraysStayWhole(edit);
    checkNothingPushedOff({std::max(kRowCount - count, 0), 0, kLastRow, kLastColumn});
    if (row > rowExtent())
        rows_.resize(row);
    if (row < rowExtent() || row > 0) {
        // The new rows look like the row above them (Excel's default for inserted rows).
        detail::Row fresh;
        if (row > 0) {
            const detail::Row& above = rows_[row - 1];
            fresh.props.format = above.props.format;
            fresh.props.outlineLevel = above.props.outlineLevel;
            fresh.props.height = above.props.height;
            fresh.props.customHeight = above.props.customHeight;
            for (const Cell& c : above.cells) {
                FormatId inherited = above.props.format ? above.props.format : columns_[c.col].format;
                if (c.format != inherited) {
                    Cell f;
                    f.col = c.col;
                    f.format = c.format;
                    fresh.cells.push_back(f);
                }
            }
        }
        rows_.insert(rows_.begin() + row, static_cast<std::size_t>(count), fresh);
        if (rowExtent() > kRowCount) {
            for (int r = kRowCount; r < rowExtent(); ++r)
                for (Cell& c : rows_[r].cells)
                    releaseContent(c);
            rows_.resize(kRowCount);
        }
    }
    adjustReferences(edit);
}

void Sheet::deleteRows(int row, int count) {
    checkCount(row, count, kLastRow);
    count = std::min(count, kRowCount - row);
    const formula::StructuralEdit edit{id_, true, false, row, count, 0, kLastColumn};
    checkArraysStayWhole(edit);
    int end = std::min(row + count, rowExtent());
    for (int r = row; r < end; ++r)
        for (Cell& c : rows_[r].cells)
            releaseContent(c);
    if (row < end)
        rows_.erase(rows_.begin() + row, rows_.begin() + end);
    adjustReferences(edit);
}

void Sheet::insertColumns(int col, int count) {
    checkCount(col, count, kLastColumn);
    const formula::StructuralEdit edit{id_, false, true, col, count, 0, kLastRow};
    checkArraysStayWhole(edit);
    checkNothingPushedOff({0, std::max(kColumnCount - count, 0), kLastRow, kLastColumn});
    for (detail::Row& row : rows_) {
        auto& cells = row.cells;
        std::vector<Cell> fresh;
        if (col > 0) {
            auto left = std::lower_bound(cells.begin(), cells.end(), col - 1, byColumn);
            FormatId inherited = row.props.format ? row.props.format : columns_[col - 1].format;
            if (left != cells.end() && left->col == col - 1 && left->format != inherited)
                for (int k = 0; k < count && col + k < kColumnCount; ++k) {
                    Cell f;
                    f.col = static_cast<std::uint8_t>(col + k);
                    f.format = left->format;
                    fresh.push_back(f);
                }
        }
        std::vector<Cell> moved;
        moved.reserve(cells.size() + fresh.size());
        for (const Cell& c : cells)
            if (c.col < col)
                moved.push_back(c);
        moved.insert(moved.end(), fresh.begin(), fresh.end());
        for (Cell& c : cells) {
            if (c.col < col)
                continue;
            if (c.col + count > kLastColumn) {
                releaseContent(c); // only formats go past the last column (checked above)
                continue;
            }
            c.col = static_cast<std::uint8_t>(c.col + count);
            moved.push_back(c);
        }
        cells = std::move(moved);
    }
    for (int c = kLastColumn; c >= col + count; --c)
        columns_[c] = columns_[c - count];
    for (int c = col; c < std::min(col + count, kColumnCount); ++c) {
        columns_[c] = ColumnProperties{};
        if (col > 0) {
            columns_[c].format = columns_[col - 1].format;
            columns_[c].outlineLevel = columns_[col - 1].outlineLevel;
        }
    }
    adjustReferences(edit);
}

void Sheet::deleteColumns(int col, int count) {
    checkCount(col, count, kLastColumn);
    count = std::min(count, kColumnCount - col);
    const formula::StructuralEdit edit{id_, false, false, col, count, 0, kLastRow};
    checkArraysStayWhole(edit);
    for (detail::Row& row : rows_) {
        for (auto it = eraseColumns(row.cells, col, col + count - 1); it != row.cells.end(); ++it)
            it->col = static_cast<std::uint8_t>(it->col - count);
    }
    for (int c = col; c < kColumnCount; ++c)
        columns_[c] = c + count < kColumnCount ? columns_[c + count] : ColumnProperties{};
    adjustReferences(edit);
}

// Removes the cells of columns left..right from a row; gives the first cell right of them.
std::vector<detail::Cell>::iterator Sheet::eraseColumns(std::vector<detail::Cell>& cells, int left,
                                                        int right) {
    auto first = std::lower_bound(cells.begin(), cells.end(), left, byColumn);
    auto end = std::lower_bound(first, cells.end(), right + 1, byColumn);
    for (auto it = first; it != end; ++it)
        releaseContent(*it);
    return cells.erase(first, end);
}

// Moves the cells of columns left..right from row `fromRow` to row `toRow`, whose part in those columns
// is empty.
void Sheet::moveBandVertically(int fromRow, int toRow, int left, int right) {
    if (fromRow >= rowExtent())
        return;
    auto& from = rows_[fromRow].cells;
    auto first = std::lower_bound(from.begin(), from.end(), left, byColumn);
    auto end = std::lower_bound(first, from.end(), right + 1, byColumn);
    if (first == end)
        return;
    std::vector<Cell> moving(first, end);
    from.erase(first, end);
    if (toRow > kLastRow) {
        for (Cell& c : moving)
            releaseContent(c);
        return;
    }
    if (toRow >= rowExtent())
        rows_.resize(toRow + 1);
    auto& to = rows_[toRow].cells;
    auto at = std::lower_bound(to.begin(), to.end(), left, byColumn);
    to.insert(at, moving.begin(), moving.end());
}

void Sheet::insertCells(const Area& area, Shift shift) {
    checkArea(area);
    if (shift == Shift::Down) {
        if (area.isWholeRows())
            return insertRows(area.top, area.rowCount());
        int n = area.rowCount();
        const formula::StructuralEdit edit{id_, true, true, area.top, n, area.left, area.right};
        checkArraysStayWhole(edit);
        checkNothingPushedOff({kRowCount - n, area.left, kLastRow, area.right});
        for (int r = rowExtent() - 1; r >= area.top; --r)
            moveBandVertically(r, r + n, area.left, area.right);
        adjustReferences(edit);
        return;
    }
    if (shift != Shift::Right)
        throw EngineError("cells are inserted shifting down or right");
    if (area.isWholeColumns())
        return insertColumns(area.left, area.columnCount());
    int n = area.columnCount();
    const formula::StructuralEdit edit{id_, false, true, area.left, n, area.top, area.bottom};
    checkArraysStayWhole(edit);
    checkNothingPushedOff({area.top, kColumnCount - n, area.bottom, kLastColumn});
    for (int r = area.top; r <= std::min(area.bottom, rowExtent() - 1); ++r) {
        auto& cells = rows_[r].cells;
        auto at = std::lower_bound(cells.begin(), cells.end(), area.left, byColumn);
        for (auto it = at; it != cells.end(); ++it)
            if (it->col + n > kLastColumn)
                releaseContent(*it);
        cells.erase(std::lower_bound(at, cells.end(), kColumnCount - n, byColumn), cells.end());
        for (auto it = std::lower_bound(cells.begin(), cells.end(), area.left, byColumn); it != cells.end();
             ++it)
            it->col = static_cast<std::uint8_t>(it->col + n);
    }
    adjustReferences(edit);
}

void Sheet::deleteCells(const Area& area, Shift shift) {
    checkArea(area);
    if (shift == Shift::Up) {
        if (area.isWholeRows())
            return deleteRows(area.top, area.rowCount());
        int n = area.rowCount();
        const formula::StructuralEdit edit{id_, true, false, area.top, n, area.left, area.right};
        checkArraysStayWhole(edit);
        for (int r = area.top; r <= std::min(area.bottom, rowExtent() - 1); ++r) {
            eraseColumns(rows_[r].cells, area.left, area.right);
        }
        for (int r = area.bottom + 1; r < rowExtent(); ++r)
            moveBandVertically(r, r - n, area.left, area.right);
        adjustReferences(edit);
        return;
    }
    if (shift != Shift::Left)
        throw EngineError("cells are deleted shifting up or left");
    if (area.isWholeColumns())
        return deleteColumns(area.left, area.columnCount());
    int n = area.columnCount();
    const formula::StructuralEdit edit{id_, false, false, area.left, n, area.top, area.bottom};
    checkArraysStayWhole(edit);
    for (int r = area.top; r <= std::min(area.bottom, rowExtent() - 1); ++r) {
        auto& cells = rows_[r].cells;
        for (auto it = eraseColumns(cells, area.left, area.right); it != cells.end(); ++it)
            it->col = static_cast<std::uint8_t>(it->col - n);
    }
    adjustReferences(edit);
}

} // namespace engine
