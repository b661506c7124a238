// Array formulas: one formula over a range of cells, each showing its own element of the result.
#include "engine/core/error.h"
#include "engine/formula/parser.h"
#include "engine/model/sheet.h"
#include "engine/model/workbook.h"

#include <algorithm>

namespace engine {
namespace {

[[noreturn]] void partOfArray() {
    throw EngineError("part of an array cannot be changed");
}

} // namespace

bool Sheet::takesPartOfArray(const Area& area) const {
    return std::any_of(arrays_.begin(), arrays_.end(),
                       [&](const Area& a) { return a.intersects(area) && !area.contains(a); });
}

void Sheet::releaseArrays(const Area& area) {
    if (takesPartOfArray(area))
        partOfArray();
    std::erase_if(arrays_, [&](const Area& a) { return area.contains(a); });
}

void Sheet::setArrayFormula(const Area& area, std::u16string_view text) {
    if (text.empty() || text[0] != u'=')
        throw EngineError("an array formula begins with =");
    setArrayFormula(area, formula::parse(text.substr(1), book_.sheetNames()));
}

void Sheet::setArrayFormula(const Area& area, std::span<const formula::Token> program) {
    checkArea(area);
    if (program.empty())
        throw EngineError("an array formula needs a formula");
    releaseArrays(area);
    // Stored once per cell: each copy is adjusted by structural edits as any formula is.
    formula::Program tokens(program.begin(), program.end());
    for (int r = area.top; r <= area.bottom; ++r)
        for (int c = area.left; c <= area.right; ++c) {
            storeProgram(r, c, tokens);
            detail::FormulaSlot& f = formulas_[findCell(r, c)->data.formula];
            f.inArray = true;
            f.arrayRow = static_cast<std::uint16_t>(r - area.top);
            f.arrayCol = static_cast<std::uint8_t>(c - area.left);
        }
    arrays_.push_back(area);
}

std::optional<Area> Sheet::arrayAt(int row, int col) const {
    for (const Area& a : arrays_)
        if (a.contains(row, col))
            return a;
    return std::nullopt;
}

std::u16string Sheet::formulaBarText(int row, int col) const {
    if (!arrayAt(row, col))
        return formulaText(row, col);
    std::u16string text(1, u'{');
    text += formulaText(row, col);
    text += u'}';
    return text;
}

void Sheet::checkArraysStayWhole(const formula::StructuralEdit& edit) const {
    for (const Area& a : arrays_) {
        // Along the edit (rows of a vertical one) and across it (the band of columns that moves).
        const int from = edit.vertical ? a.top : a.left, to = edit.vertical ? a.bottom : a.right;
        const int low = edit.vertical ? a.left : a.top, high = edit.vertical ? a.right : a.bottom;
        if (to < edit.at || high < edit.first || low > edit.last)
            continue; // untouched
        const bool inBand = low >= edit.first && high <= edit.last;
        const int lastDeleted = edit.at + edit.count - 1;
        const bool cut =
            edit.insert ? from < edit.at
                        : edit.at <= to && lastDeleted >= from && !(edit.at <= from && lastDeleted >= to);
        if (!inBand || cut)
            partOfArray();
    }
}

} // namespace engine
