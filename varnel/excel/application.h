#pragma once

#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "varnel/excel/forward.h"

#include <string>

namespace Excel {

// One running spreadsheet instance ("Excel.Application"). It is the source of the application events
// (connection point DIID_AppEvents, see events.h). Every member raises the automation error on
// failure, as every member of every interface here does.
struct _Application : IDispatch {
    static constexpr IID iid = com::guidOf("{000208D5-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    virtual VARIANT_BOOL GetVisible() = 0;
    virtual void PutVisible(VARIANT_BOOL RHS) = 0;
    virtual VARIANT_BOOL GetDisplayFormulaBar() = 0;
    virtual void PutDisplayFormulaBar(VARIANT_BOOL RHS) = 0;
    // Off: closing and other prompts take their default answer without asking.
    virtual VARIANT_BOOL GetDisplayAlerts() = 0;
    virtual void PutDisplayAlerts(VARIANT_BOOL RHS) = 0;
    // The instance's main window, the owner of the program's dialogs and message boxes.
    virtual long GetHwnd() = 0;

    virtual WorkbooksPtr GetWorkbooks() = 0;
    virtual WorksheetFunctionPtr GetWorksheetFunction() = 0;
    virtual Office::_CommandBarsPtr GetCommandBars() = 0;
    // Null when no workbook is open.
    virtual _WorkbookPtr GetActiveWorkbook() = 0;
    virtual IDispatchPtr GetActiveSheet() = 0;

    // Asks the user for a value. With Type 2 (text) the answer is the text typed, or the boolean False
    // when the user cancels.
    virtual Variant InputBox(const std::u16string& Prompt, const Variant& Title = vtMissing,
                             const Variant& Default = vtMissing, const Variant& Left = vtMissing,
                             const Variant& Top = vtMissing, const Variant& HelpFile = vtMissing,
                             const Variant& HelpContextID = vtMissing, const Variant& Type = vtMissing) = 0;
};

} // namespace Excel
