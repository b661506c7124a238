#include "engine/formula/adjust.h"

#include "engine/core/value.h"

#include <algorithm>

namespace engine::formula {
namespace {

// One dimension of a rectangle, [lo, hi], moved by an insertion or deletion at `at`. False when all of
// it was deleted.
inline bool shiftSpan(int& lo, int& hi, const StructuralEdit& e, int limit) {
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

// Where a rectangle ends up (see adjustArea); false when all of it was deleted. Inlined into the pass
// over every token of a workbook.
inline bool moveArea(Area& a, const StructuralEdit& e) {
    if (e.vertical) {
        if (a.left < e.first || a.right > e.last || a.isWholeColumns())
            return true;
        return shiftSpan(a.top, a.bottom, e, kLastRow);
    }
    if (a.top < e.first || a.bottom > e.last || a.isWholeRows())
        return true;
    return shiftSpan(a.left, a.right, e, kLastColumn);
}

inline void widen(Reach& reach, const Area& a) {
    if (!a.isWholeColumns())
        reach.bottom = std::max(reach.bottom, a.bottom);
    if (!a.isWholeRows())
        reach.right = std::max(reach.right, a.right);
}

inline Area areaOf(const Token& t) {
    const AreaBits& b = t.payload.area;
    return t.kind == TokenKind::Ref ? Area::cell(b.top, b.left) : Area{b.top, b.left, b.bottom, b.right};
}

} // namespace

std::optional<Area> adjustArea(const Area& area, const StructuralEdit& e) {
    Area a = area;
    if (!moveArea(a, e))
        return std::nullopt;
    return a;
}

void extendReach(Reach& reach, const Token& reference) {
    widen(reach, areaOf(reference));
}

bool mayAffect(const Reach& reach, const StructuralEdit& e) {
    return e.at <= (e.vertical ? reach.bottom : reach.right);
}

bool adjustProgram(std::span<Token> program, SheetId host, const StructuralEdit& e, Reach& reach) {
    bool changed = false;
    for (Token& t : program) {
        if (t.kind != TokenKind::Ref && t.kind != TokenKind::Area)
            continue;
        if ((t.sheet == kOwnSheet ? host : t.sheet) != e.sheet)
            continue;
        const Area before = areaOf(t);
        Area after = before;
        // A reference that ends above (left of) the edit is not moved by it.
        if ((e.vertical ? before.bottom : before.right) >= e.at) {
            // Whole columns stay whole columns under a vertical edit even where stored as rows 0..last.
            if (!moveArea(after, e)) {
                t.kind = TokenKind::RefError;
                changed = true;
                continue;
            }
            if (after != before) {
                AreaBits& b = t.payload.area;
                b.top = static_cast<std::uint16_t>(after.top);
                b.left = static_cast<std::uint8_t>(after.left);
                if (t.kind == TokenKind::Area) {
                    b.bottom = static_cast<std::uint16_t>(after.bottom);
                    b.right = static_cast<std::uint8_t>(after.right);
                }
                changed = true;
            }
        }
        widen(reach, after);
    }
    return changed;
}

void moveRelative(std::span<Token> program, int rows, int cols) {
    for (Token& t : program) {
        if (t.kind != TokenKind::Ref && t.kind != TokenKind::Area)
            continue;
        AreaBits& b = t.payload.area;
        bool single = t.kind == TokenKind::Ref; // its corners are one cell
        bool rowsMove = !(t.flags & kWholeColumns);
        bool colsMove = !(t.flags & kWholeRows);
        int top = b.top, bottom = single ? b.top : b.bottom;
        int left = b.left, right = single ? b.left : b.right;
        if (rowsMove) {
            top += (t.flags & kTopAbsolute) ? 0 : rows;
            bottom += (t.flags & (single ? kTopAbsolute : kBottomAbsolute)) ? 0 : rows;
        }
        if (colsMove) {
            left += (t.flags & kLeftAbsolute) ? 0 : cols;
            right += (t.flags & (single ? kLeftAbsolute : kRightAbsolute)) ? 0 : cols;
        }
        if (std::min(top, bottom) < 0 || std::max(top, bottom) > kLastRow || std::min(left, right) < 0 ||
            std::max(left, right) > kLastColumn) {
            // #REF!, keeping the sheet the reference named.
            Token lost;
            if (t.sheet == kOwnSheet) {
                lost.kind = TokenKind::Error;
                lost.payload.code = static_cast<std::uint8_t>(ErrorCode::Ref);
            } else {
                lost.kind = TokenKind::RefError;
                lost.sheet = t.sheet;
            }
            t = lost;
            continue;
        }
        b.top = static_cast<std::uint16_t>(top);
        b.left = static_cast<std::uint8_t>(left);
        b.bottom = static_cast<std::uint16_t>(bottom);
        b.right = static_cast<std::uint8_t>(right);
    }
}

} // namespace engine::formula
