#include "platform/com/dispatch_proxy.h"
#include "varnel/excel/dispatch/proxies.h"
#include "varnel/excel/dispatch/values.h"
#include "varnel/excel/excel.h"

namespace excel_dispatch {

using com::Proxy;

namespace {

class ApplicationProxy final : public Proxy<Excel::_Application> {
public:
    using Proxy::Proxy;
    VARIANT_BOOL GetVisible() override { return boolean(get(u"Visible")); }
    void PutVisible(VARIANT_BOOL RHS) override { put(u"Visible", boolean(RHS)); }
    VARIANT_BOOL GetDisplayFormulaBar() override { return boolean(get(u"DisplayFormulaBar")); }
    void PutDisplayFormulaBar(VARIANT_BOOL RHS) override { put(u"DisplayFormulaBar", boolean(RHS)); }
    VARIANT_BOOL GetDisplayAlerts() override { return boolean(get(u"DisplayAlerts")); }
    void PutDisplayAlerts(VARIANT_BOOL RHS) override { put(u"DisplayAlerts", boolean(RHS)); }
    long GetHwnd() override { return get(u"Hwnd").toLong(); }
    Excel::WorkbooksPtr GetWorkbooks() override { return as<Excel::Workbooks>(get(u"Workbooks")); }
    Excel::WorksheetFunctionPtr GetWorksheetFunction() override {
        return as<Excel::WorksheetFunction>(get(u"WorksheetFunction"));
    }
    Office::_CommandBarsPtr GetCommandBars() override {
        return as<Office::_CommandBars>(get(u"CommandBars"));
    }
    Excel::_WorkbookPtr GetActiveWorkbook() override { return as<Excel::_Workbook>(get(u"ActiveWorkbook")); }
    IDispatchPtr GetActiveSheet() override { return as<IDispatch>(get(u"ActiveSheet")); }
    Variant InputBox(const std::u16string& Prompt, const Variant& Title, const Variant& Default,
                     const Variant& Left, const Variant& Top, const Variant& HelpFile,
                     const Variant& HelpContextID, const Variant& Type) override {
        return call(u"InputBox", {Variant(Prompt), Title, Default, Left, Top, HelpFile, HelpContextID, Type});
    }
};

class WorkbooksProxy final : public Proxy<Excel::Workbooks> {
public:
    using Proxy::Proxy;
    Excel::_WorkbookPtr Open(const std::u16string& Filename, const Variant& UpdateLinks,
                             const Variant& ReadOnly, const Variant& Format, const Variant& Password,
                             const Variant& WriteResPassword, const Variant& IgnoreReadOnlyRecommended,
                             const Variant& Origin, const Variant& Delimiter, const Variant& Editable,
                             const Variant& Notify, const Variant& Converter,
                             const Variant& AddToMru) override {
        return as<Excel::_Workbook>(call(
            u"Open", {windowsPath(Filename), UpdateLinks, ReadOnly, Format, Password, WriteResPassword,
                      IgnoreReadOnlyRecommended, Origin, Delimiter, Editable, Notify, Converter, AddToMru}));
    }
    Excel::_WorkbookPtr Add(const Variant& Template) override {
        return as<Excel::_Workbook>(call(u"Add", {Template}));
    }
    long GetCount() override { return get(u"Count").toLong(); }
    Excel::_WorkbookPtr GetItem(const Variant& Index) override {
        return as<Excel::_Workbook>(get(u"Item", {Index}));
    }
};

class WorkbookProxy final : public Proxy<Excel::_Workbook> {
public:
    using Proxy::Proxy;
    Excel::SheetsPtr GetWorksheets() override { return as<Excel::Sheets>(get(u"Worksheets")); }
    void Activate() override { call(u"Activate"); }
    std::u16string GetName() override { return get(u"Name").toString(); }
    void Close(const Variant& SaveChanges, const Variant& Filename, const Variant& RouteWorkbook) override {
        call(u"Close", {SaveChanges, Filename.isMissing() ? Filename : windowsPath(Filename.toString()),
                        RouteWorkbook});
    }
    void Save() override { call(u"Save"); }
    void SaveAs(const Variant& Filename, const Variant& FileFormat, const Variant& Password,
                const Variant& WriteResPassword, const Variant& ReadOnlyRecommended,
                const Variant& CreateBackup, Excel::XlSaveAsAccessMode AccessMode,
                const Variant& ConflictResolution, const Variant& AddToMru) override {
        call(u"SaveAs", {Filename.isMissing() ? Filename : windowsPath(Filename.toString()), FileFormat,
                         Password, WriteResPassword, ReadOnlyRecommended, CreateBackup, number(AccessMode),
                         ConflictResolution, AddToMru});
    }
    VARIANT_BOOL GetSaved() override { return boolean(get(u"Saved")); }
    void PutSaved(VARIANT_BOOL RHS) override { put(u"Saved", boolean(RHS)); }
};

class SheetsProxy final : public Proxy<Excel::Sheets> {
public:
    using Proxy::Proxy;
    long GetCount() override { return get(u"Count").toLong(); }
    IDispatchPtr GetItem(const Variant& Index) override { return as<IDispatch>(get(u"Item", {Index})); }
    IDispatchPtr Add(const Variant& Before, const Variant& After, const Variant& Count,
                     const Variant& Type) override {
        return as<IDispatch>(call(u"Add", {Before, After, Count, Type}));
    }
};

class WorksheetProxy final : public Proxy<Excel::_Worksheet> {
public:
    using Proxy::Proxy;
    void Activate() override { call(u"Activate"); }
    void Select(const Variant& Replace) override { call(u"Select", {Replace}); }
    std::u16string GetName() override { return get(u"Name").toString(); }
    void PutName(const std::u16string& RHS) override { put(u"Name", Variant(RHS)); }
    long GetIndex() override { return get(u"Index").toLong(); }
    IDispatchPtr GetParent() override { return as<IDispatch>(get(u"Parent")); }
    Excel::RangePtr GetRange(const Variant& Cell1, const Variant& Cell2) override {
        return as<Excel::Range>(get(u"Range", {Cell1, Cell2}));
    }
    Excel::RangePtr GetCells() override { return as<Excel::Range>(get(u"Cells")); }
    Excel::RangePtr GetRows() override { return as<Excel::Range>(get(u"Rows")); }
    Excel::RangePtr GetColumns() override { return as<Excel::Range>(get(u"Columns")); }
    void Paste(const Variant& Destination, const Variant& Link) override {
        call(u"Paste", {Destination, Link});
    }
};

} // namespace

void registerApplicationProxies() {
    com::registerProxy(Excel::_Application::iid, com::makeProxy<ApplicationProxy>);
    com::registerProxy(Excel::Workbooks::iid, com::makeProxy<WorkbooksProxy>);
    com::registerProxy(Excel::_Workbook::iid, com::makeProxy<WorkbookProxy>);
    com::registerProxy(Excel::Sheets::iid, com::makeProxy<SheetsProxy>);
    com::registerProxy(Excel::_Worksheet::iid, com::makeProxy<WorksheetProxy>);
}

} // namespace excel_dispatch
