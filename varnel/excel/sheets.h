#pragma once

#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "varnel/excel/forward.h"

namespace Excel {

// The worksheets of a workbook. Items come as IDispatch, as the spreadsheet gives them: query them
// for _Worksheet (a _WorksheetPtr made from one does that).
struct Sheets : IDispatch {
    static constexpr IID iid = com::guidOf("{000208D7-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    virtual long GetCount() = 0;
    // By 1-based number or by name; a name matches without regard to case.
    virtual IDispatchPtr GetItem(const Variant& Index) = 0;
    // New sheets before or after the given sheet (before the active sheet when both are left out).
    virtual IDispatchPtr Add(const Variant& Before = vtMissing, const Variant& After = vtMissing,
                             const Variant& Count = vtMissing, const Variant& Type = vtMissing) = 0;
};

} // namespace Excel
