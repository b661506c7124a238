#pragma once

#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "varnel/excel/constants.h"
#include "varnel/excel/forward.h"

namespace Excel {

// The data validation of a range's cells.
struct Validation : IDispatch {
    static constexpr IID iid = com::guidOf("{0002442F-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    // Removes the validation of every cell of the range.
    virtual void Delete() = 0;
    // For a list, Formula1 is its items separated by commas (or a reference). Adding to cells that
    // already have a validation fails: Delete first.
    virtual void Add(XlDVType Type, const Variant& AlertStyle = vtMissing,
                     const Variant& Operator = vtMissing, const Variant& Formula1 = vtMissing,
                     const Variant& Formula2 = vtMissing) = 0;
};

} // namespace Excel
