#pragma once

#include "engine/automation/book.h"
#include "engine/automation/objects.h"
#include "engine/automation/support.h"
#include "engine/model/sheet_follower.h"
#include "varnel/excel/range.h"

#include <vector>

namespace engine::automation {

// A range: one or more rectangles of one sheet. As a client's range does in a spreadsheet, it keeps
// naming the same cells when rows, columns or cells of its sheet are inserted or deleted, adjusted as
// formulas are; once all of its cells are deleted it names nothing and refuses every use.
class RangeObject final : public Object<Excel::Range>, private SheetFollower {
public:
    RangeObject(SheetRef ref, std::vector<Area> areas, RangeUnit unit);

    // The object behind a range a client passes in; fails for anything else.
    static RangeObject& of(Excel::Range* range);
    static RangeObject& of(const Variant& range);

    const SheetRef& ref() const { return ref_; }
    // These fail when the range's cells were deleted.
    const std::vector<Area>& areas() const;
    Sheet& sheet() const;
    const Area& first() const { return areas().front(); }

    // ---- Values (range.cpp)
    Variant GetValue2() override;
    void PutValue2(const Variant& RHS) override;
    Variant GetFormula() override;
    void PutFormula(const Variant& RHS) override;
    Variant GetFormulaArray() override;
    void PutFormulaArray(const Variant& RHS) override;
    Variant GetHasArray() override;
    Variant GetText() override;
    std::u16string GetAddress(const Variant& RowAbsolute, const Variant& ColumnAbsolute,
                              Excel::XlReferenceStyle ReferenceStyle, const Variant& External,
                              const Variant& RelativeTo) override;

    // ---- Navigation (range.cpp)
    long GetRow() override { return first().top + 1; }
    long GetColumn() override { return first().left + 1; }
    long GetCount() override;
    Excel::RangePtr GetEnd(Excel::XlDirection Direction) override;
    Excel::RangePtr GetOffset(const Variant& RowOffset, const Variant& ColumnOffset) override;
    Excel::RangePtr GetResize(const Variant& RowSize, const Variant& ColumnSize) override;
    Variant GetItem(const Variant& RowIndex, const Variant& ColumnIndex) override;
    Excel::RangePtr GetCells() override { return with(areas_, RangeUnit::Cells); }
    Excel::RangePtr GetEntireRow() override;
    Excel::RangePtr GetEntireColumn() override;
    Excel::RangePtr GetRows() override { return with(areas_, RangeUnit::Rows); }
    Excel::RangePtr GetColumns() override { return with(areas_, RangeUnit::Columns); }
    Excel::_WorksheetPtr GetWorksheet() override;
    IDispatchPtr GetParent() override;

    // ---- Editing (range_edit.cpp)
    Variant Insert(const Variant& Shift, const Variant& CopyOrigin) override;
    Variant Delete(const Variant& Shift) override;
    Variant Copy(const Variant& Destination) override;
    Variant ClearContents() override;
    Variant Select() override;
    Variant Activate() override;
    Excel::RangePtr Find(const Variant& What, const Variant& After, const Variant& LookIn,
                         const Variant& LookAt, const Variant& SearchOrder,
                         Excel::XlSearchDirection SearchDirection, const Variant& MatchCase,
                         const Variant& MatchByte, const Variant& SearchFormat) override;
    Variant AdvancedFilter(Excel::XlFilterAction Action, const Variant& CriteriaRange,
                           const Variant& CopyToRange, const Variant& Unique) override;

    // ---- Layout and formats (range_format.cpp)
    Variant AutoFit() override;
    Variant GetColumnWidth() override;
    void PutColumnWidth(const Variant& RHS) override;
    Variant GetRowHeight() override;
    void PutRowHeight(const Variant& RHS) override;
    Variant GetNumberFormat() override;
    void PutNumberFormat(const Variant& RHS) override;
    Variant GetHorizontalAlignment() override;
    void PutHorizontalAlignment(const Variant& RHS) override;
    Variant GetMergeCells() override;
    void PutMergeCells(const Variant& RHS) override;
    Variant GetOutlineLevel() override;
    void PutOutlineLevel(const Variant& RHS) override;
    Variant Group(const Variant& Start, const Variant& End, const Variant& By,
                  const Variant& Periods) override;
    Variant GetShowDetail() override;
    void PutShowDetail(const Variant& RHS) override;
    Excel::FontPtr GetFont() override;
    Excel::InteriorPtr GetInterior() override;
    Excel::BordersPtr GetBorders() override;
    Excel::ValidationPtr GetValidation() override;

private:
    void structureChanged(const formula::StructuralEdit& edit) override;
    Excel::RangePtr with(std::vector<Area> areas, RangeUnit unit = RangeUnit::Cells) const;
    void changed(const std::vector<Area>& areas) const;
    void write(const Variant& value);
    // Throws EngineError when the range takes some but not all cells of an array formula.
    void checkArraysWhole() const;
    // Whole rows of every area (whole columns likewise), failing with `what` otherwise.
    void requireWholeRows(const char16_t* what) const;

    SheetRef ref_;
    std::vector<Area> areas_;
    RangeUnit unit_;
};

// Parses a range text of a sheet: "A1", "A1:G1", "1:2", "B:B", "A:A,C:C,G:G".
std::vector<Area> parseRangeText(std::u16string_view text);

} // namespace engine::automation
