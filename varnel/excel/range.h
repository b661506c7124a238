#pragma once

#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "varnel/excel/constants.h"
#include "varnel/excel/forward.h"

#include <string>

namespace Excel {

// A rectangle of cells on one sheet. Rows and columns count from 1. Members returning Variant for an
// action (Insert, Delete, Copy …) follow the spreadsheet's signatures; the value carries nothing.
struct Range : IDispatch {
    static constexpr IID iid = com::guidOf("{00020846-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    // The values of the cells: of the top-left cell for reading; every cell for writing. A text
    // written is entered as a user types it ("=…" a formula, numeric text a number).
    virtual Variant GetValue2() = 0;
    virtual void PutValue2(const Variant& RHS) = 0;
    virtual Variant GetFormula() = 0;
    virtual void PutFormula(const Variant& RHS) = 0;
    // The array formula of the top-left cell ("=…", without the braces the formula bar shows), else
    // its formula or value as Formula gives it. Writing one enters it over the whole range (Ctrl+Shift+
    // Enter). Whether the top-left cell belongs to an array formula.
    virtual Variant GetFormulaArray() = 0;
    virtual void PutFormulaArray(const Variant& RHS) = 0;
    virtual Variant GetHasArray() = 0;
    // The text the cells show, through their number format; null when the cells show different texts.
    virtual Variant GetText() = 0;
    // The cells' number format code ("General", "0.00", "yyyy-mm-dd"); null when they differ. A code
    // that is not a number format is refused.
    virtual Variant GetNumberFormat() = 0;
    virtual void PutNumberFormat(const Variant& RHS) = 0;
    // "$E$12" or "$A$1:$G$1" with everything left out.
    virtual std::u16string GetAddress(const Variant& RowAbsolute = vtMissing,
                                      const Variant& ColumnAbsolute = vtMissing,
                                      XlReferenceStyle ReferenceStyle = xlA1,
                                      const Variant& External = vtMissing,
                                      const Variant& RelativeTo = vtMissing) = 0;

    virtual long GetRow() = 0;
    virtual long GetColumn() = 0;
    virtual long GetCount() = 0;
    virtual RangePtr GetEnd(XlDirection Direction) = 0;
    // An offset left out counts as 0; a size left out keeps the current one.
    virtual RangePtr GetOffset(const Variant& RowOffset = vtMissing,
                               const Variant& ColumnOffset = vtMissing) = 0;
    virtual RangePtr GetResize(const Variant& RowSize = vtMissing, const Variant& ColumnSize = vtMissing) = 0;
    // The cell at (row, column) relative to the top-left cell, or the n-th cell row by row when only
    // RowIndex is given; a range (VT_DISPATCH) as Variant, as the spreadsheet gives it.
    virtual Variant GetItem(const Variant& RowIndex, const Variant& ColumnIndex = vtMissing) = 0;
    virtual RangePtr GetCells() = 0;
    virtual RangePtr GetEntireRow() = 0;
    virtual RangePtr GetEntireColumn() = 0;
    virtual RangePtr GetRows() = 0;
    virtual RangePtr GetColumns() = 0;
    virtual _WorksheetPtr GetWorksheet() = 0;
    // The worksheet, as IDispatch.
    virtual IDispatchPtr GetParent() = 0;

    virtual Variant Insert(const Variant& Shift = vtMissing, const Variant& CopyOrigin = vtMissing) = 0;
    virtual Variant Delete(const Variant& Shift = vtMissing) = 0;
    // To Destination, or to the clipboard when it is left out.
    virtual Variant Copy(const Variant& Destination = vtMissing) = 0;
    virtual Variant ClearContents() = 0;
    virtual Variant Select() = 0;
    virtual Variant Activate() = 0;
    // The first matching cell, or a null pointer when nothing matches. On a single cell it searches
    // the whole sheet.
    virtual RangePtr Find(const Variant& What, const Variant& After = vtMissing,
                          const Variant& LookIn = vtMissing, const Variant& LookAt = vtMissing,
                          const Variant& SearchOrder = vtMissing, XlSearchDirection SearchDirection = xlNext,
                          const Variant& MatchCase = vtMissing, const Variant& MatchByte = vtMissing,
                          const Variant& SearchFormat = vtMissing) = 0;
    virtual Variant AdvancedFilter(XlFilterAction Action, const Variant& CriteriaRange = vtMissing,
                                   const Variant& CopyToRange = vtMissing,
                                   const Variant& Unique = vtMissing) = 0;

    // Fits row heights (whole rows) or column widths (whole columns) to their content.
    virtual Variant AutoFit() = 0;
    virtual Variant GetColumnWidth() = 0;
    virtual void PutColumnWidth(const Variant& RHS) = 0;
    virtual Variant GetRowHeight() = 0;
    virtual void PutRowHeight(const Variant& RHS) = 0;
    virtual Variant GetHorizontalAlignment() = 0;
    virtual void PutHorizontalAlignment(const Variant& RHS) = 0;
    virtual Variant GetMergeCells() = 0;
    virtual void PutMergeCells(const Variant& RHS) = 0;

    // Outline of whole rows or columns: level 1 is not grouped.
    virtual Variant GetOutlineLevel() = 0;
    virtual void PutOutlineLevel(const Variant& RHS) = 0;
    virtual Variant Group(const Variant& Start = vtMissing, const Variant& End = vtMissing,
                          const Variant& By = vtMissing, const Variant& Periods = vtMissing) = 0;
    // Expands (true) or collapses (false) the detail of an outline group.
    virtual Variant GetShowDetail() = 0;
    virtual void PutShowDetail(const Variant& RHS) = 0;

    virtual FontPtr GetFont() = 0;
    virtual InteriorPtr GetInterior() = 0;
    virtual BordersPtr GetBorders() = 0;
    virtual ValidationPtr GetValidation() = 0;
};

} // namespace Excel
