#pragma once

#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "varnel/excel/forward.h"

#include <string>

namespace Excel {

// The open workbooks of an instance.
struct Workbooks : IDispatch {
    static constexpr IID iid = com::guidOf("{000208DB-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    // Opens a workbook file (an Excel 97-2003 .xls) and makes it the active one.
    virtual _WorkbookPtr Open(const std::u16string& Filename, const Variant& UpdateLinks = vtMissing,
                              const Variant& ReadOnly = vtMissing, const Variant& Format = vtMissing,
                              const Variant& Password = vtMissing,
                              const Variant& WriteResPassword = vtMissing,
                              const Variant& IgnoreReadOnlyRecommended = vtMissing,
                              const Variant& Origin = vtMissing, const Variant& Delimiter = vtMissing,
                              const Variant& Editable = vtMissing, const Variant& Notify = vtMissing,
                              const Variant& Converter = vtMissing, const Variant& AddToMru = vtMissing) = 0;
    // A new, unsaved workbook (Book1, Book2, … with sheets Sheet1 to Sheet3), made the active one.
    virtual _WorkbookPtr Add(const Variant& Template = vtMissing) = 0;
    virtual long GetCount() = 0;
    // By 1-based number or by name.
    virtual _WorkbookPtr GetItem(const Variant& Index) = 0;
};

} // namespace Excel
