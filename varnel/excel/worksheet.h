#pragma once

#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "varnel/excel/forward.h"

#include <string>

namespace Excel {

struct _Worksheet : IDispatch {
    static constexpr IID iid = com::guidOf("{000208D8-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    virtual void Activate() = 0;
    virtual void Select(const Variant& Replace = vtMissing) = 0;
    virtual std::u16string GetName() = 0;
    virtual void PutName(const std::u16string& RHS) = 0;
    // 1-based position in its workbook.
    virtual long GetIndex() = 0;
    // The workbook.
    virtual IDispatchPtr GetParent() = 0;

    // Cell1 an A1 reference ("B65536", "A1:G1", "B:B", "1:2") or a range; with Cell2, the rectangle
    // spanning both.
    virtual RangePtr GetRange(const Variant& Cell1, const Variant& Cell2 = vtMissing) = 0;
    virtual RangePtr GetCells() = 0;
    virtual RangePtr GetRows() = 0;
    virtual RangePtr GetColumns() = 0;
    // Pastes the clipboard at Destination, or at this sheet's active cell when it is left out.
    virtual void Paste(const Variant& Destination = vtMissing, const Variant& Link = vtMissing) = 0;
};

} // namespace Excel
