#include "engine/automation/advanced_filter.h"
#include "engine/automation/application.h"
#include "engine/automation/editing.h"
#include "engine/automation/find.h"
#include "engine/automation/range.h"
#include "engine/model/clipboard.h"

#include <algorithm>

namespace engine::automation {

namespace {

// The areas from the bottom of the sheet up, so that editing one leaves the others in place.
std::vector<Area> bottomUp(std::vector<Area> areas) {
    std::sort(areas.begin(), areas.end(),
              [](const Area& a, const Area& b) { return a.top != b.top ? a.top > b.top : a.left > b.left; });
    return areas;
}

} // namespace

bool isShown(const SheetRef& ref) {
    Application& app = ref.app();
    return app.activeBook() == ref.book && ref.book->model->indexOf(ref.sheet()) == ref.book->activeSheet;
}

Variant RangeObject::Insert(const Variant& Shift, const Variant& CopyOrigin) {
    Sheet& s = sheet();
    std::optional<long> shift = optionalLong(Shift);
    bool fromBelow =
        optionalLong(CopyOrigin).value_or(Excel::xlFormatFromLeftOrAbove) == Excel::xlFormatFromRightOrBelow;
    // The range itself moves with the cells it names; the change is where the new cells are.
    const std::vector<Area> inserted = areas();
    guarded([&] {
        for (const Area& a : bottomUp(inserted)) {
            if (a.isWholeRows()) {
                s.insertRows(a.top, a.rowCount());
                if (fromBelow && a.bottom < kLastRow) {
                    RowProperties below = s.row(a.bottom + 1);
                    for (int r = a.top; r <= a.bottom; ++r) {
                        s.editRow(r).format = below.format;
                        s.editRow(r).outlineLevel = below.outlineLevel;
                    }
                }
            } else if (a.isWholeColumns()) {
                s.insertColumns(a.left, a.columnCount());
            } else {
                bool right = shift ? *shift == Excel::xlShiftToRight : a.rowCount() > a.columnCount();
                s.insertCells(a, right ? engine::Shift::Right : engine::Shift::Down);
            }
        }
    });
    changed(inserted);
    return Variant(true);
}

Variant RangeObject::Delete(const Variant& Shift) {
    Sheet& s = sheet();
    std::optional<long> shift = optionalLong(Shift);
    // Deleting its own cells leaves the range naming nothing; the change is where they were.
    const std::vector<Area> deleted = areas();
    guarded([&] {
        for (const Area& a : bottomUp(deleted)) {
            if (a.isWholeRows()) {
                s.deleteRows(a.top, a.rowCount());
            } else if (a.isWholeColumns()) {
                s.deleteColumns(a.left, a.columnCount());
            } else {
                bool left = shift ? *shift == Excel::xlShiftToLeft : a.rowCount() > a.columnCount();
                s.deleteCells(a, left ? engine::Shift::Left : engine::Shift::Up);
            }
        }
    });
    changed(deleted);
    return Variant(true);
}

Variant RangeObject::Copy(const Variant& Destination) {
    if (areas().size() > 1)
        fail(u"A range of several areas cannot be copied.");
    if (omitted(Destination)) {
        copyToClipboard(ref_, first());
        return Variant(true);
    }
    RangeObject& target = of(Destination);
    Snapshot snapshot = takeSnapshot(sheet(), first());
    PasteMode mode =
        target.ref().book->app == ref_.book->app ? PasteMode::Formulas : PasteMode::ValuesAndFormats;
    CellAddress at{target.first().top, target.first().left};
    Area area = guarded([&] { return paste(target.sheet(), at, snapshot, mode); });
    target.changed({area});
    return Variant(true);
}

Variant RangeObject::ClearContents() {
    Sheet& s = sheet();
    guarded([&] {
        checkArraysWhole();
        for (const Area& a : areas())
            s.clearContents(a);
    });
    changed(areas());
    return Variant(true);
}

Variant RangeObject::Select() {
    if (!isShown(ref_))
        fail(u"Cells can be selected only on the active sheet.");
    ref_.app().select(ref_, areas(), {first().top, first().left});
    return Variant(true);
}

Variant RangeObject::Activate() {
    if (!isShown(ref_))
        fail(u"Cells can be activated only on the active sheet.");
    CellAddress cell{first().top, first().left};
    const Selection& current = sheet().selection();
    bool inside = std::any_of(current.areas.begin(), current.areas.end(),
                              [&](const Area& a) { return a.contains(cell.row, cell.col); });
    ref_.app().select(ref_, inside ? current.areas : std::vector<Area>{Area::cell(cell.row, cell.col)}, cell);
    return Variant(true);
}

Excel::RangePtr RangeObject::Find(const Variant& What, const Variant& After, const Variant& LookIn,
                                  const Variant& LookAt, const Variant& SearchOrder,
                                  Excel::XlSearchDirection SearchDirection, const Variant& MatchCase,
                                  const Variant&, const Variant&) {
    if (omitted(What))
        fail(u"Find needs something to look for.");
    const Sheet& s = sheet();
    FindSettings& settings = ref_.app().findSettings();
    if (auto v = optionalLong(LookIn))
        settings.lookInFormulas = *v == Excel::xlFormulas;
    if (auto v = optionalLong(LookAt))
        settings.wholeCell = *v == Excel::xlWhole;
    if (auto v = optionalLong(SearchOrder))
        settings.byColumns = *v == Excel::xlByColumns;
    settings.matchCase = optionalBool(MatchCase).value_or(false);

    std::vector<Area> scope = areas();
    if (areas().size() == 1 && first().rowCount() == 1 && first().columnCount() == 1) {
        // A single cell stands for the whole sheet.
        std::optional<Area> used = s.usedArea();
        if (!used)
            return nullptr;
        scope = {*used};
    }
    CellAddress after{first().top, first().left};
    if (!omitted(After)) {
        RangeObject& a = of(After);
        after = {a.first().top, a.first().left};
    }
    std::optional<CellAddress> hit =
        findCell(s, scope, after, What.toString(), settings, SearchDirection == Excel::xlPrevious);
    if (!hit)
        return nullptr;
    return with({Area::cell(hit->row, hit->col)});
}

Variant RangeObject::AdvancedFilter(Excel::XlFilterAction Action, const Variant& CriteriaRange,
                                    const Variant& CopyToRange, const Variant& Unique) {
    if (Action != Excel::xlFilterCopy)
        fail(u"Only the filter that copies to another place is available.");
    if (omitted(CriteriaRange) || omitted(CopyToRange))
        fail(u"The filter needs a criteria range and a cell to copy to.");
    if (first().rowCount() < 1 || (first().rowCount() == 1 && first().columnCount() == 1))
        fail(u"The filter needs a list range with its titles.");
    RangeObject& criteria = of(CriteriaRange);
    RangeObject& copyTo = of(CopyToRange);
    FilterRequest request;
    request.list = &sheet();
    request.listArea = first();
    request.criteria = &criteria.sheet();
    request.criteriaArea = criteria.first();
    request.destination = &copyTo.sheet();
    request.copyTo = {copyTo.first().top, copyTo.first().left};
    request.unique = optionalBool(Unique).value_or(false);
    Area written = guarded([&] { return advancedFilterCopy(request); });
    copyTo.changed({written});
    return Variant(true);
}

} // namespace engine::automation
