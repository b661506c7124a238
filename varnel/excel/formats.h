#pragma once

#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "varnel/excel/forward.h"

// The formats of a range's cells. Values are variants, as the spreadsheet takes them; reading a
// property of cells that differ gives null.
namespace Excel {

struct Font : IDispatch {
    static constexpr IID iid = com::guidOf("{0002084D-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    virtual Variant GetBold() = 0;
    virtual void PutBold(const Variant& RHS) = 0;
    // An RGB value, 0x00BBGGRR.
    virtual Variant GetColor() = 0;
    virtual void PutColor(const Variant& RHS) = 0;
    // An index into the workbook's palette of 56 colours (1-based).
    virtual Variant GetColorIndex() = 0;
    virtual void PutColorIndex(const Variant& RHS) = 0;
};

struct Interior : IDispatch {
    static constexpr IID iid = com::guidOf("{00020870-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    virtual Variant GetColorIndex() = 0;
    virtual void PutColorIndex(const Variant& RHS) = 0;
};

// All the borders of the cells together.
struct Borders : IDispatch {
    static constexpr IID iid = com::guidOf("{00020855-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    virtual Variant GetLineStyle() = 0;
    virtual void PutLineStyle(const Variant& RHS) = 0;
    virtual Variant GetWeight() = 0;
    virtual void PutWeight(const Variant& RHS) = 0;
};

} // namespace Excel
