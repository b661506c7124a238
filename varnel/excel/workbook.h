#pragma once

#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "varnel/excel/constants.h"
#include "varnel/excel/forward.h"

#include <string>

namespace Excel {

struct _Workbook : IDispatch {
    static constexpr IID iid = com::guidOf("{000208DA-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    virtual SheetsPtr GetWorksheets() = 0;
    virtual void Activate() = 0;
    // The file name without its folder, or BookN for a workbook never saved.
    virtual std::u16string GetName() = 0;
    // Raises WorkbookBeforeClose first. SaveChanges left out asks the user when there are unsaved
    // changes, unless alerts are off, in which case nothing is saved.
    virtual void Close(const Variant& SaveChanges = vtMissing, const Variant& Filename = vtMissing,
                       const Variant& RouteWorkbook = vtMissing) = 0;
    virtual void Save() = 0;
    virtual void SaveAs(const Variant& Filename = vtMissing, const Variant& FileFormat = vtMissing,
                        const Variant& Password = vtMissing, const Variant& WriteResPassword = vtMissing,
                        const Variant& ReadOnlyRecommended = vtMissing,
                        const Variant& CreateBackup = vtMissing, XlSaveAsAccessMode AccessMode = xlNoChange,
                        const Variant& ConflictResolution = vtMissing,
                        const Variant& AddToMru = vtMissing) = 0;
    virtual VARIANT_BOOL GetSaved() = 0;
    virtual void PutSaved(VARIANT_BOOL RHS) = 0;
};

} // namespace Excel
