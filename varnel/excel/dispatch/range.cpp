#include "platform/com/dispatch_proxy.h"
#include "varnel/excel/dispatch/proxies.h"
#include "varnel/excel/dispatch/values.h"
#include "varnel/excel/excel.h"

namespace excel_dispatch {

using com::Proxy;

namespace {

class RangeProxy final : public Proxy<Excel::Range> {
public:
    using Proxy::Proxy;
    Variant GetValue2() override { return get(u"Value2"); }
    void PutValue2(const Variant& RHS) override { put(u"Value2", RHS); }
    Variant GetFormula() override { return get(u"Formula"); }
    void PutFormula(const Variant& RHS) override { put(u"Formula", RHS); }
    Variant GetFormulaArray() override { return get(u"FormulaArray"); }
    void PutFormulaArray(const Variant& RHS) override { put(u"FormulaArray", RHS); }
    Variant GetHasArray() override { return get(u"HasArray"); }
    Variant GetText() override { return get(u"Text"); }
    Variant GetNumberFormat() override { return get(u"NumberFormat"); }
    void PutNumberFormat(const Variant& RHS) override { put(u"NumberFormat", RHS); }
    std::u16string GetAddress(const Variant& RowAbsolute, const Variant& ColumnAbsolute,
                              Excel::XlReferenceStyle ReferenceStyle, const Variant& External,
                              const Variant& RelativeTo) override {
        return get(u"Address", {RowAbsolute, ColumnAbsolute, number(ReferenceStyle), External, RelativeTo})
            .toString();
    }
    long GetRow() override { return get(u"Row").toLong(); }
    long GetColumn() override { return get(u"Column").toLong(); }
    long GetCount() override { return get(u"Count").toLong(); }
    Excel::RangePtr GetEnd(Excel::XlDirection Direction) override {
        return as<Excel::Range>(get(u"End", {number(Direction)}));
    }
    Excel::RangePtr GetOffset(const Variant& RowOffset, const Variant& ColumnOffset) override {
        return as<Excel::Range>(get(u"Offset", {RowOffset, ColumnOffset}));
    }
    Excel::RangePtr GetResize(const Variant& RowSize, const Variant& ColumnSize) override {
        return as<Excel::Range>(get(u"Resize", {RowSize, ColumnSize}));
    }
    Variant GetItem(const Variant& RowIndex, const Variant& ColumnIndex) override {
        return get(u"Item", {RowIndex, ColumnIndex});
    }
    Excel::RangePtr GetCells() override { return as<Excel::Range>(get(u"Cells")); }
    Excel::RangePtr GetEntireRow() override { return as<Excel::Range>(get(u"EntireRow")); }
    Excel::RangePtr GetEntireColumn() override { return as<Excel::Range>(get(u"EntireColumn")); }
    Excel::RangePtr GetRows() override { return as<Excel::Range>(get(u"Rows")); }
    Excel::RangePtr GetColumns() override { return as<Excel::Range>(get(u"Columns")); }
    Excel::_WorksheetPtr GetWorksheet() override { return as<Excel::_Worksheet>(get(u"Worksheet")); }
    IDispatchPtr GetParent() override { return as<IDispatch>(get(u"Parent")); }

    Variant Insert(const Variant& Shift, const Variant& CopyOrigin) override {
        return call(u"Insert", {Shift, CopyOrigin});
    }
    Variant Delete(const Variant& Shift) override { return call(u"Delete", {Shift}); }
    Variant Copy(const Variant& Destination) override { return call(u"Copy", {Destination}); }
    Variant ClearContents() override { return call(u"ClearContents"); }
    Variant Select() override { return call(u"Select"); }
    Variant Activate() override { return call(u"Activate"); }
    Excel::RangePtr Find(const Variant& What, const Variant& After, const Variant& LookIn,
                         const Variant& LookAt, const Variant& SearchOrder,
                         Excel::XlSearchDirection SearchDirection, const Variant& MatchCase,
                         const Variant& MatchByte, const Variant& SearchFormat) override {
        return as<Excel::Range>(call(u"Find", {What, After, LookIn, LookAt, SearchOrder,
                                               number(SearchDirection), MatchCase, MatchByte, SearchFormat}));
    }
    Variant AdvancedFilter(Excel::XlFilterAction Action, const Variant& CriteriaRange,
                           const Variant& CopyToRange, const Variant& Unique) override {
        return call(u"AdvancedFilter", {number(Action), CriteriaRange, CopyToRange, Unique});
    }

    Variant AutoFit() override { return call(u"AutoFit"); }
    Variant GetColumnWidth() override { return get(u"ColumnWidth"); }
    void PutColumnWidth(const Variant& RHS) override { put(u"ColumnWidth", RHS); }
    Variant GetRowHeight() override { return get(u"RowHeight"); }
    void PutRowHeight(const Variant& RHS) override { put(u"RowHeight", RHS); }
    Variant GetHorizontalAlignment() override { return get(u"HorizontalAlignment"); }
    void PutHorizontalAlignment(const Variant& RHS) override { put(u"HorizontalAlignment", RHS); }
    Variant GetMergeCells() override { return get(u"MergeCells"); }
    void PutMergeCells(const Variant& RHS) override { put(u"MergeCells", RHS); }

    Variant GetOutlineLevel() override { return get(u"OutlineLevel"); }
    void PutOutlineLevel(const Variant& RHS) override { put(u"OutlineLevel", RHS); }
    Variant Group(const Variant& Start, const Variant& End, const Variant& By,
                  const Variant& Periods) override {
        return call(u"Group", {Start, End, By, Periods});
    }
    Variant GetShowDetail() override { return get(u"ShowDetail"); }
    void PutShowDetail(const Variant& RHS) override { put(u"ShowDetail", RHS); }

    Excel::FontPtr GetFont() override { return as<Excel::Font>(get(u"Font")); }
    Excel::InteriorPtr GetInterior() override { return as<Excel::Interior>(get(u"Interior")); }
    Excel::BordersPtr GetBorders() override { return as<Excel::Borders>(get(u"Borders")); }
    Excel::ValidationPtr GetValidation() override { return as<Excel::Validation>(get(u"Validation")); }
};

class FontProxy final : public Proxy<Excel::Font> {
public:
    using Proxy::Proxy;
    Variant GetBold() override { return get(u"Bold"); }
    void PutBold(const Variant& RHS) override { put(u"Bold", RHS); }
    Variant GetColor() override { return get(u"Color"); }
    void PutColor(const Variant& RHS) override { put(u"Color", RHS); }
    Variant GetColorIndex() override { return get(u"ColorIndex"); }
    void PutColorIndex(const Variant& RHS) override { put(u"ColorIndex", RHS); }
};

class InteriorProxy final : public Proxy<Excel::Interior> {
public:
    using Proxy::Proxy;
    Variant GetColorIndex() override { return get(u"ColorIndex"); }
    void PutColorIndex(const Variant& RHS) override { put(u"ColorIndex", RHS); }
};

class BordersProxy final : public Proxy<Excel::Borders> {
public:
    using Proxy::Proxy;
    Variant GetLineStyle() override { return get(u"LineStyle"); }
    void PutLineStyle(const Variant& RHS) override { put(u"LineStyle", RHS); }
    Variant GetWeight() override { return get(u"Weight"); }
    void PutWeight(const Variant& RHS) override { put(u"Weight", RHS); }
};

class ValidationProxy final : public Proxy<Excel::Validation> {
public:
    using Proxy::Proxy;
    void Delete() override { call(u"Delete"); }
    void Add(Excel::XlDVType Type, const Variant& AlertStyle, const Variant& Operator,
             const Variant& Formula1, const Variant& Formula2) override {
        call(u"Add", {number(Type), AlertStyle, Operator, Formula1, Formula2});
    }
};

class WorksheetFunctionProxy final : public Proxy<Excel::WorksheetFunction> {
public:
    using Proxy::Proxy;
    double CountIf(Excel::Range* Arg1, const Variant& Arg2) override {
        return call(u"CountIf", {dispatch(Arg1), Arg2}).toDouble();
    }
    double CountBlank(Excel::Range* Arg1) override {
        return call(u"CountBlank", {dispatch(Arg1)}).toDouble();
    }
};

} // namespace

void registerRangeProxies() {
    com::registerProxy(Excel::Range::iid, com::makeProxy<RangeProxy>);
    com::registerProxy(Excel::Font::iid, com::makeProxy<FontProxy>);
    com::registerProxy(Excel::Interior::iid, com::makeProxy<InteriorProxy>);
    com::registerProxy(Excel::Borders::iid, com::makeProxy<BordersProxy>);
    com::registerProxy(Excel::Validation::iid, com::makeProxy<ValidationProxy>);
    com::registerProxy(Excel::WorksheetFunction::iid, com::makeProxy<WorksheetFunctionProxy>);
}

} // namespace excel_dispatch
