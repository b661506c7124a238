#pragma once

#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "varnel/excel/forward.h"

namespace Excel {

// The sheet functions, called from the program.
struct WorksheetFunction : IDispatch {
    static constexpr IID iid = com::guidOf("{00020845-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    virtual double CountIf(Range* Arg1, const Variant& Arg2) = 0;
    // Counts empty cells and cells whose formula gives empty text.
    virtual double CountBlank(Range* Arg1) = 0;
};

} // namespace Excel
