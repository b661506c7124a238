#include "engine/automation/autofit.h"
#include "engine/automation/range.h"

#include <algorithm>
#include <array>
#include <functional>

namespace engine::automation {

namespace {

struct AlignmentName {
    long excel;
    HorizontalAlignment alignment;
};
constexpr std::array<AlignmentName, 7> kAlignments = {{
    {Excel::xlGeneral, HorizontalAlignment::General},
    {Excel::xlLeft, HorizontalAlignment::Left},
    {Excel::xlCenter, HorizontalAlignment::Center},
    {Excel::xlRight, HorizontalAlignment::Right},
    {5, HorizontalAlignment::Fill},
    {-4130, HorizontalAlignment::Justify},
    {7, HorizontalAlignment::CenterAcrossSelection},
}};

double positive(const Variant& v, double most, const char16_t* what) {
    double value = 0;
    try {
        value = v.toDouble();
    } catch (const ComError&) {
        fail(std::u16string(what) + u" takes a number.");
    }
    if (value < 0 || value > most)
        fail(std::u16string(what) + u" is out of range.");
    return value;
}

} // namespace

void RangeObject::requireWholeRows(const char16_t* what) const {
    for (const Area& a : areas())
        if (!a.isWholeRows() && unit_ != RangeUnit::Rows)
            fail(std::u16string(what) + u" applies to whole rows only.");
}

Variant RangeObject::AutoFit() {
    Sheet& s = sheet();
    for (const Area& a : areas()) {
        if (unit_ == RangeUnit::Rows || a.isWholeRows())
            autoFitRows(s, a.top, a.bottom);
        else if (unit_ == RangeUnit::Columns || a.isWholeColumns())
            autoFitColumns(s, a.left, a.right);
        else
            fail(u"AutoFit applies to whole rows or whole columns.");
    }
    return Variant(true);
}

Variant RangeObject::GetColumnWidth() {
    return Variant(sheet().column(first().left).width);
}

void RangeObject::PutColumnWidth(const Variant& RHS) {
    double width = positive(RHS, 255, u"A column width");
    Sheet& s = sheet();
    for (const Area& a : areas())
        for (int c = a.left; c <= a.right; ++c) {
            ColumnProperties& props = s.editColumn(c);
            props.width = width;
            props.customWidth = true;
        }
}

Variant RangeObject::GetRowHeight() {
    return Variant(sheet().rowHeight(first().top));
}

void RangeObject::PutRowHeight(const Variant& RHS) {
    double height = positive(RHS, 409.5, u"A row height");
    Sheet& s = sheet();
    for (const Area& a : areas()) {
        if (a.top == 0 && a.bottom == kLastRow) {
            // Every row: the sheet's default height, and the rows that have their own take it too.
            s.setDefaultRowHeight(height);
            for (int r = 0; r < s.rowExtent(); ++r)
                if (s.row(r).customHeight)
                    s.editRow(r).height = height;
            continue;
        }
        for (int r = a.top; r <= a.bottom; ++r) {
            RowProperties& props = s.editRow(r);
            props.height = height;
            props.customHeight = true;
        }
    }
}

namespace {

// Each format some cell of `area` has, at least once: the stored cells' own, and for the cells not
// stored their row's or else their column's.
void forEachFormatIn(const Sheet& s, const Area& a, const std::function<void(FormatId)>& visit) {
    std::vector<bool> stored(std::size_t(a.columnCount()));
    int lastRow = std::min(a.bottom, s.rowExtent() - 1);
    for (int r = a.top; r <= lastRow; ++r) {
        std::fill(stored.begin(), stored.end(), false);
        s.forEachCell(Area(r, a.left, r, a.right), [&](int, int col) {
            stored[std::size_t(col - a.left)] = true;
            visit(s.formatId(r, col));
        });
        bool allStored = std::find(stored.begin(), stored.end(), false) == stored.end();
        if (allStored)
            continue;
        if (s.row(r).format != kDefaultFormat) {
            visit(s.row(r).format);
            continue;
        }
        for (int c = a.left; c <= a.right; ++c)
            if (!stored[std::size_t(c - a.left)])
                visit(s.column(c).format);
    }
    if (a.bottom > lastRow)
        for (int c = a.left; c <= a.right; ++c)
            visit(s.column(c).format);
}

} // namespace

Variant RangeObject::GetNumberFormat() {
    const Sheet& s = sheet();
    const FormatTable& formats = s.workbook().formats();
    const std::u16string& code = s.format(first().top, first().left).numberFormat;
    bool same = true;
    for (const Area& a : areas())
        forEachFormatIn(s, a, [&](FormatId id) { same = same && formats.get(id).numberFormat == code; });
    if (!same)
        return Variant::null();
    return Variant(isGeneralCode(code) ? std::u16string(u"General") : code);
}

void RangeObject::PutNumberFormat(const Variant& RHS) {
    std::u16string code;
    try {
        code = RHS.toString();
    } catch (const ComError&) {
        fail(u"A number format is a text.");
    }
    if (!NumberFormat::parse(code) || code.size() > 255)
        fail(u"That is not a number format.");
    if (isGeneralCode(code))
        code.clear();
    Sheet& s = sheet();
    for (const Area& a : areas())
        s.modifyFormat(a, [&](Format& f) { f.numberFormat = code; });
}

Variant RangeObject::GetHorizontalAlignment() {
    HorizontalAlignment alignment = sheet().format(first().top, first().left).horizontalAlignment;
    for (const auto& n : kAlignments)
        if (n.alignment == alignment)
            return Variant(static_cast<int>(n.excel));
    return Variant(static_cast<int>(Excel::xlGeneral));
}

void RangeObject::PutHorizontalAlignment(const Variant& RHS) {
    long wanted = optionalLong(RHS).value_or(Excel::xlGeneral);
    for (const auto& n : kAlignments)
        if (n.excel == wanted) {
            Sheet& s = sheet();
            for (const Area& a : areas())
                s.modifyFormat(a, [&](Format& f) { f.horizontalAlignment = n.alignment; });
            return;
        }
    fail(u"That is not a horizontal alignment.");
}

Variant RangeObject::GetMergeCells() {
    const Sheet& s = sheet();
    bool some = false, all = true;
    for (const Area& a : areas()) {
        bool inOne = false;
        for (const Area& m : s.merges()) {
            if (!m.intersects(a))
                continue;
            some = true;
            inOne = inOne || m.contains(a);
        }
        all = all && inOne;
    }
    if (!some)
        return Variant(false);
    return all ? Variant(true) : Variant::null();
}

void RangeObject::PutMergeCells(const Variant& RHS) {
    bool merge = optionalBool(RHS).value_or(false);
    Sheet& s = sheet();
    for (const Area& a : areas()) {
        if (merge)
            s.merge(a);
        else
            s.unmerge(a);
    }
}

Variant RangeObject::GetOutlineLevel() {
    return Variant(static_cast<int>(sheet().row(first().top).outlineLevel) + 1);
}

void RangeObject::PutOutlineLevel(const Variant& RHS) {
    requireWholeRows(u"OutlineLevel");
    long level = optionalLong(RHS).value_or(1);
    if (level < 1 || level > kMaxOutlineLevel + 1)
        fail(u"An outline level lies between 1 and 8.");
    Sheet& s = sheet();
    for (const Area& a : areas())
        for (int r = a.top; r <= a.bottom; ++r)
            s.editRow(r).outlineLevel = static_cast<std::uint8_t>(level - 1);
}

Variant RangeObject::Group(const Variant&, const Variant&, const Variant&, const Variant&) {
    requireWholeRows(u"Group");
    Sheet& s = sheet();
    for (const Area& a : areas()) {
        for (int r = a.top; r <= a.bottom; ++r)
            if (s.row(r).outlineLevel >= kMaxOutlineLevel)
                fail(u"Rows cannot be grouped more than seven levels deep.");
        s.groupRows(a.top, a.bottom);
    }
    return Variant(true);
}

Variant RangeObject::GetShowDetail() {
    requireWholeRows(u"ShowDetail");
    return Variant(!sheet().row(first().top).collapsed);
}

void RangeObject::PutShowDetail(const Variant& RHS) {
    requireWholeRows(u"ShowDetail");
    bool show = optionalBool(RHS).value_or(true);
    if (areas().size() != 1 || first().rowCount() != 1 || !sheet().showDetail(first().top, show))
        fail(u"ShowDetail applies to one summary row of an outline group.");
}

} // namespace engine::automation
