#include "engine/automation/range.h"

#include "engine/automation/application.h"
#include "engine/automation/values.h"
#include "engine/core/text.h"
#include "engine/formula/adjust.h"
#include "engine/formula/parser.h"
#include "engine/formula/printer.h"

#include <utility>

namespace engine::automation {

namespace {

Area moved(const Area& a, long rows, long cols) {
    long top = a.top + rows, bottom = a.bottom + rows, left = a.left + cols, right = a.right + cols;
    if (top < 0 || left < 0 || bottom > kLastRow || right > kLastColumn)
        fail(u"The range would lie outside the sheet.");
    return {static_cast<int>(top), static_cast<int>(left), static_cast<int>(bottom), static_cast<int>(right)};
}

std::u16string addressPart(const Area& area, bool rowAbsolute, bool colAbsolute) {
    if (rowAbsolute == colAbsolute)
        return formatArea(area, rowAbsolute);
    // One part absolute: each corner gets its "$" only where asked.
    std::u16string text;
    auto column = [&](int col) {
        if (colAbsolute)
            text += u'$';
        text += columnName(col);
    };
    auto row = [&](int r) {
        if (rowAbsolute)
            text += u'$';
        text += formatNumber(r + 1);
    };
    if (area.isWholeColumns()) {
        column(area.left);
        text += u':';
        column(area.right);
    } else if (area.isWholeRows()) {
        row(area.top);
        text += u':';
        row(area.bottom);
    } else {
        column(area.left);
        row(area.top);
        if (area.bottom != area.top || area.right != area.left) {
            text += u':';
            column(area.right);
            row(area.bottom);
        }
    }
    return text;
}

} // namespace

std::vector<Area> parseRangeText(std::u16string_view text) {
    std::vector<Area> areas;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = text.find(u',', start);
        std::u16string_view part =
            text.substr(start, comma == std::u16string_view::npos ? comma : comma - start);
        std::optional<Area> area = parseArea(part);
        if (!area)
            fail(u"\"" + std::u16string(text) + u"\" is not a range of the sheet.");
        areas.push_back(*area);
        if (comma == std::u16string_view::npos)
            break;
        start = comma + 1;
    }
    return areas;
}

RangeObject::RangeObject(SheetRef ref, std::vector<Area> areas, RangeUnit unit)
    : ref_(std::move(ref)), areas_(std::move(areas)), unit_(unit) {
    if (ref_.book->open())
        if (Sheet* s = ref_.book->model->sheetById(ref_.id))
            follow(*s);
}

const std::vector<Area>& RangeObject::areas() const {
    if (areas_.empty())
        fail(u"The cells of the range have been deleted.");
    return areas_;
}

Sheet& RangeObject::sheet() const {
    areas();
    return ref_.sheet();
}

void RangeObject::structureChanged(const formula::StructuralEdit& edit) {
    std::size_t kept = 0;
    for (const Area& a : areas_)
        if (std::optional<Area> moved = formula::adjustArea(a, edit))
            areas_[kept++] = *moved;
    areas_.resize(kept);
    if (areas_.empty())
        leave();
}

RangeObject& RangeObject::of(Excel::Range* range) {
    auto* object = dynamic_cast<RangeObject*>(range);
    if (!object)
        fail(u"A range of this instance was expected.");
    return *object;
}

RangeObject& RangeObject::of(const Variant& range) {
    Excel::RangePtr ptr(range);
    return of(ptr.get());
}

Excel::RangePtr rangeObject(const SheetRef& ref, std::vector<Area> areas, RangeUnit unit) {
    return makeComObject<RangeObject>(ref, std::move(areas), unit);
}

Excel::RangePtr RangeObject::with(std::vector<Area> areas, RangeUnit unit) const {
    return rangeObject(ref_, std::move(areas), unit);
}

void RangeObject::changed(const std::vector<Area>& areas) const {
    ref_.app().sheetChanged(ref_, areas);
}

// ---- Values

Variant RangeObject::GetValue2() {
    return toVariant(sheet().value(first().top, first().left));
}

Variant RangeObject::GetFormula() {
    Sheet& s = sheet();
    int row = first().top, col = first().left;
    if (s.hasFormula(row, col))
        return Variant(s.formulaText(row, col));
    return Variant(shownText(s.value(row, col)));
}

Variant RangeObject::GetFormulaArray() {
    return GetFormula();
}

Variant RangeObject::GetHasArray() {
    return Variant(sheet().arrayAt(first().top, first().left).has_value());
}

void RangeObject::PutFormulaArray(const Variant& RHS) {
    if (RHS.vt() != VT_BSTR)
        fail(u"An array formula is a text.");
    if (areas().size() != 1)
        fail(u"An array formula takes one range.");
    guarded([&] { sheet().setArrayFormula(first(), RHS.bstrVal()); });
    changed(areas());
}

Variant RangeObject::GetText() {
    const Sheet& s = sheet();
    std::u16string text = s.shown(first().top, first().left).text;
    // Every stored cell must show the same; cells not stored show nothing.
    bool same = true;
    for (const Area& a : areas()) {
        std::size_t stored = 0;
        s.forEachCell(a, [&](int row, int col) {
            ++stored;
            same = same && s.shown(row, col).text == text;
        });
        if (stored < std::size_t(a.rowCount()) * std::size_t(a.columnCount()))
            same = same && text.empty();
    }
    return same ? Variant(text) : Variant::null();
}

void RangeObject::PutValue2(const Variant& RHS) {
    write(RHS);
}

void RangeObject::PutFormula(const Variant& RHS) {
    write(RHS);
}

void RangeObject::checkArraysWhole() const {
    for (const Area& a : areas())
        for (const Area& array : sheet().arrayFormulas())
            if (array.intersects(a) && !a.contains(array))
                throw EngineError("part of an array cannot be changed");
}

void RangeObject::write(const Variant& value) {
    Sheet& s = sheet();
    if (value.isMissing())
        fail(u"No value was given.");
    guarded([&] {
        // An array formula is written over only as a whole; cell by cell, its first cell would be
        // refused as part of it.
        checkArraysWhole();
        std::vector<Area> covered;
        for (const Area& a : areas())
            for (const Area& array : s.arrayFormulas())
                if (a.contains(array))
                    covered.push_back(array);
        if (value.vt() == VT_BSTR && value.bstrVal().size() > 1 && value.bstrVal()[0] == u'=')
            formula::parse(std::u16string_view(value.bstrVal()).substr(1), s.workbook().sheetNames());
        for (const Area& array : covered)
            s.clearContents(array);
        if (value.vt() == VT_BSTR && value.bstrVal().size() > 1 && value.bstrVal()[0] == u'=') {
            // A formula written to several cells moves its relative references with each cell.
            formula::Program program =
                formula::parse(std::u16string_view(value.bstrVal()).substr(1), s.workbook().sheetNames());
            formula::Program moved;
            for (const Area& a : areas())
                for (int r = a.top; r <= a.bottom; ++r)
                    for (int c = a.left; c <= a.right; ++c) {
                        if (r == a.top && c == a.left && &a == &areas().front()) {
                            s.setFormula(r, c, value.bstrVal());
                            continue;
                        }
                        moved = program;
                        formula::moveRelative(moved, r - first().top, c - first().left);
                        s.setFormula(r, c, moved);
                    }
            return;
        }
        Value constant;
        switch (value.vt()) {
        case VT_BSTR:
            for (const Area& a : areas())
                for (int r = a.top; r <= a.bottom; ++r)
                    for (int c = a.left; c <= a.right; ++c)
                        s.enter(r, c, value.bstrVal());
            return;
        case VT_EMPTY:
        case VT_NULL:
            break;
        case VT_BOOL:
            constant = Value::boolean(value.boolVal() != VARIANT_FALSE);
            break;
        case VT_ERROR:
            if (auto e = errorValue(value.scode()))
                constant = *e;
            else
                fail(u"That is not an error value of the spreadsheet.");
            break;
        case VT_DISPATCH:
        case VT_UNKNOWN: {
            RangeObject& other = of(value);
            constant = other.sheet().value(other.first().top, other.first().left);
            break;
        }
        default:
            try {
                constant = Value::number(value.toDouble());
            } catch (const ComError&) {
                fail(u"The value cannot be written into a cell.");
            }
        }
        for (const Area& a : areas()) {
            if (constant.isEmpty()) {
                s.clearContents(a);
                continue;
            }
            for (int r = a.top; r <= a.bottom; ++r)
                for (int c = a.left; c <= a.right; ++c)
                    s.setValue(r, c, constant);
        }
    });
    changed(areas());
}

std::u16string RangeObject::GetAddress(const Variant& RowAbsolute, const Variant& ColumnAbsolute,
                                       Excel::XlReferenceStyle ReferenceStyle, const Variant& External,
                                       const Variant&) {
    if (ReferenceStyle != Excel::xlA1)
        fail(u"Only A1 addresses are given.");
    bool rowAbsolute = optionalBool(RowAbsolute).value_or(true);
    bool colAbsolute = optionalBool(ColumnAbsolute).value_or(true);
    std::u16string text;
    if (optionalBool(External).value_or(false))
        text = u"[" + ref_.book->name + u"]" + formula::quoteSheetName(sheet().name()) + u"!";
    for (std::size_t i = 0; i < areas().size(); ++i) {
        if (i > 0)
            text += u',';
        text += addressPart(areas()[i], rowAbsolute, colAbsolute);
    }
    return text;
}

// ---- Navigation

long RangeObject::GetCount() {
    long count = 0;
    for (const Area& a : areas()) {
        switch (unit_) {
        case RangeUnit::Cells:
            count += static_cast<long>(a.rowCount()) * a.columnCount();
            break;
        case RangeUnit::Rows:
            count += a.rowCount();
            break;
        case RangeUnit::Columns:
            count += a.columnCount();
            break;
        }
    }
    return count;
}

Excel::RangePtr RangeObject::GetEnd(Excel::XlDirection Direction) {
    const Sheet& s = sheet();
    int row = first().top, col = first().left;
    // As Ctrl and an arrow key: along a run of filled cells to its last one, else to the next filled
    // cell, else to the sheet's edge.
    switch (Direction) {
    case Excel::xlUp:
        if (row > 0 && s.hasContent(row, col) && s.hasContent(row - 1, col))
            while (row > 0 && s.hasContent(row - 1, col))
                --row;
        else
            row = s.contentRowAbove(col, row).value_or(0);
        break;
    case Excel::xlDown:
        if (row < kLastRow && s.hasContent(row, col) && s.hasContent(row + 1, col))
            while (row < kLastRow && s.hasContent(row + 1, col))
                ++row;
        else
            row = s.contentRowBelow(col, row).value_or(kLastRow);
        break;
    case Excel::xlToLeft:
        if (col > 0 && s.hasContent(row, col) && s.hasContent(row, col - 1))
            while (col > 0 && s.hasContent(row, col - 1))
                --col;
        else
            col = s.contentColumnLeft(row, col).value_or(0);
        break;
    case Excel::xlToRight:
        if (col < kLastColumn && s.hasContent(row, col) && s.hasContent(row, col + 1))
            while (col < kLastColumn && s.hasContent(row, col + 1))
                ++col;
        else
            col = s.contentColumnRight(row, col).value_or(kLastColumn);
        break;
    default:
        fail(u"That is not a direction.");
    }
    return with({Area::cell(row, col)});
}

Excel::RangePtr RangeObject::GetOffset(const Variant& RowOffset, const Variant& ColumnOffset) {
    long rows = optionalLong(RowOffset).value_or(0), cols = optionalLong(ColumnOffset).value_or(0);
    std::vector<Area> result;
    result.reserve(areas().size());
    for (const Area& a : areas())
        result.push_back(moved(a, rows, cols));
    return with(std::move(result), unit_);
}

Excel::RangePtr RangeObject::GetResize(const Variant& RowSize, const Variant& ColumnSize) {
    long rows = optionalLong(RowSize).value_or(first().rowCount());
    long cols = optionalLong(ColumnSize).value_or(first().columnCount());
    if (rows < 1 || cols < 1 || first().top + rows - 1 > kLastRow || first().left + cols - 1 > kLastColumn)
        fail(u"The range would lie outside the sheet.");
    Area a{first().top, first().left, first().top + static_cast<int>(rows) - 1,
           first().left + static_cast<int>(cols) - 1};
    return with({a}, unit_);
}

Variant RangeObject::GetItem(const Variant& RowIndex, const Variant& ColumnIndex) {
    std::optional<long> r = optionalLong(RowIndex), c = optionalLong(ColumnIndex);
    if (!r)
        fail(u"Item needs an index.");
    const Area& a = first();
    Area item;
    if (unit_ == RangeUnit::Rows && !c) {
        item = moved(Area{a.top, a.left, a.top, a.right}, *r - 1, 0);
    } else if (unit_ == RangeUnit::Columns && !c) {
        item = moved(Area{a.top, a.left, a.bottom, a.left}, 0, *r - 1);
    } else if (c) {
        item = moved(Area::cell(a.top, a.left), *r - 1, *c - 1);
    } else {
        // The n-th cell counted along the rows of the range.
        long n = *r - 1, width = a.columnCount();
        long down = n >= 0 ? n / width : -((-n + width - 1) / width);
        item = moved(Area::cell(a.top, a.left), down, n - down * width);
    }
    return Variant(static_cast<IDispatch*>(with({item}).get()));
}

Excel::RangePtr RangeObject::GetEntireRow() {
    std::vector<Area> rows;
    for (const Area& a : areas())
        rows.push_back(Area::rows(a.top, a.bottom));
    return with(std::move(rows));
}

Excel::RangePtr RangeObject::GetEntireColumn() {
    std::vector<Area> cols;
    for (const Area& a : areas())
        cols.push_back(Area::columns(a.left, a.right));
    return with(std::move(cols));
}

Excel::_WorksheetPtr RangeObject::GetWorksheet() {
    sheet();
    return worksheetObject(ref_);
}

IDispatchPtr RangeObject::GetParent() {
    return IDispatchPtr(GetWorksheet().get());
}

} // namespace engine::automation
