#include "engine/formula/adjust.h"

#include <algorithm>

namespace engine::formula {
namespace {

// One dimension of a rectangle, [lo, hi], moved by an insertion or deletion at `at`. False when all of
// it was deleted.
bool shiftSpan(int& lo, int& hi, const StructuralEdit& e, int limit) {
    if (e.insert) {
        if (lo >= e.at)
            lo += e.count;
        if (hi >= e.at)
            hi += e.count;
        if (lo > limit)
            return false;
        hi = std::min(hi, limit);
        return true;
    }
    int end = e.at + e.count; // first row after the deleted ones
    if (hi < e.at)
        return true;
    if (lo >= end) {
        lo -= e.count;
        hi -= e.count;
        return true;
    }
    if (lo >= e.at && hi < end)
        return false;
    if (lo >= e.at)
        lo = e.at;
    hi = hi < end ? e.at - 1 : hi - e.count;
    return true;
}

} // namespace

std::optional<Area> adjustArea(const Area& area, const StructuralEdit& e) {
    Area a = area;
    if (e.vertical) {
        if (a.left < e.first || a.right > e.last || a.isWholeColumns())
            return a;
        if (!shiftSpan(a.top, a.bottom, e, kLastRow))
            return std::nullopt;
    } else {
        if (a.top < e.first || a.bottom > e.last || a.isWholeRows())
            return a;
        if (!shiftSpan(a.left, a.right, e, kLastColumn))
            return std::nullopt;
    }
    return a;
}

bool adjustProgram(Program& program, SheetId host, const StructuralEdit& e) {
    bool changed = false;
    for (Token& t : program) {
        if (t.kind != TokenKind::Ref && t.kind != TokenKind::Area)
            continue;
        if ((t.sheet == kOwnSheet ? host : t.sheet) != e.sheet)
            continue;
        AreaBits& b = t.payload.area;
        Area before =
            t.kind == TokenKind::Ref ? Area::cell(b.top, b.left) : Area{b.top, b.left, b.bottom, b.right};
        // Whole columns stay whole columns under a vertical edit even where stored as rows 0..last.
        auto after = adjustArea(before, e);
        if (!after) {
            t.kind = TokenKind::RefError;
            changed = true;
            continue;
        }
        if (*after == before)
            continue;
        b.top = static_cast<std::uint16_t>(after->top);
        b.left = static_cast<std::uint8_t>(after->left);
        if (t.kind == TokenKind::Area) {
            b.bottom = static_cast<std::uint16_t>(after->bottom);
            b.right = static_cast<std::uint8_t>(after->right);
        }
        changed = true;
    }
    return changed;
}

void moveRelative(Node& n, int rows, int cols) {
    for (Node& a : n.args)
        moveRelative(a, rows, cols);
    if (!n.isReference())
        return;
    bool outside = false;
    auto move = [&](CellRef& r, bool moveRow, bool moveCol) {
        if (moveRow && !r.rowAbsolute)
            r.row += rows;
        if (moveCol && !r.colAbsolute)
            r.col += cols;
        outside = outside || r.row < 0 || r.row > kLastRow || r.col < 0 || r.col > kLastColumn;
    };
    bool rowsMove = n.kind != NodeKind::Columns;
    bool colsMove = n.kind != NodeKind::Rows;
    move(n.first, rowsMove, colsMove);
    move(n.last, rowsMove, colsMove);
    if (outside) {
        auto sheet = std::move(n.sheet);
        n = Node::makeError(ErrorCode::Ref);
        n.sheet = std::move(sheet);
    }
}

} // namespace engine::formula
