#include "platform/com/registry.h"
#include "varnel/app/excel_window.h"
#include "varnel/app/maindlg.h"
#include "varnel/register/formulas.h"
#include "varnel/register/layout.h"
#include "varnel/register/lists.h"
#include "varnel/register/tessikdlg.h"

#include <string>

using namespace Excel;

// Lists every entry row of the register that holds the chosen material and a subscribing unit, as a
// new workbook in a second spreadsheet instance. The filter runs in a temporary workbook of the
// program's own instance, which is closed unsaved afterwards.
void CMainDlg::OnFindMaterial(IDispatch*, VARIANT_BOOL*) {
    _epBook->Activate();
    _epSheet->Activate();

    const long n = _epSheet->GetRange(Variant(layout::bottomOfColumnB))->GetEnd(xlUp)->GetRow();
    if (n < 2)
        return;

    const _WorkbookPtr temporary = _epApp->GetWorkbooks()->Add();
    const _WorksheetPtr filterSheet = temporary->GetWorksheets()->GetItem(Variant(1));
    _epSheet->GetRange(Variant(layout::titles))
        ->Copy(filterSheet->GetCells()->GetItem(Variant(1), Variant(1)));
    const RangePtr criteria = filterSheet->GetRange(Variant(u"A1"), Variant(u"G2"));

    CTessikDlg dialog;
    dialog.itemText = materialKinds;
    dialog.withYearItems = true;
    dialog.yearSuffix = magazineName;
    dialog.DoModal(excelWindow(*_epApp));

    // A plain text would also pick every material that begins with it.
    filterSheet->GetRange(Variant(u"B2"))->PutValue2(Variant(layout::exactCriterion(dialog.itemText)));
    filterSheet->GetRange(Variant(u"G2"))->PutValue2(Variant(u"<>"));

    std::u16string lastCell = u"G";
    lastCell += layout::decimal(n);
    const RangePtr list = _epSheet->GetRange(Variant(u"A1"), Variant(lastCell));
    temporary->Activate();
    list->AdvancedFilter(xlFilterCopy, Variant(criteria),
                         filterSheet->GetCells()->GetItem(Variant(3), Variant(1)), Variant(short(0)));
    filterSheet->GetRange(Variant(u"1:2"))->Delete();

    filterSheet->GetRange(Variant(u"B1"))->PutValue2(Variant(u"被查询资料名称"));
    filterSheet->GetRange(Variant(u"C1"))->PutValue2(Variant(u"征订数量"));
    const RangePtr titles = filterSheet->GetRange(Variant(u"D1:G1"));
    titles->GetFont()->PutColor(Variant(7));
    titles->GetFont()->PutBold(Variant(short(VARIANT_TRUE)));

    filterSheet->GetCells()->Copy();
    _ApplicationPtr output;
    createInstance(output, u"Excel.Application");
    output->PutVisible(VARIANT_TRUE);
    const _WorksheetPtr result = output->GetWorkbooks()->Add()->GetWorksheets()->GetItem(Variant(1));
    result->Paste();

    _epApp->PutDisplayAlerts(VARIANT_FALSE);
    temporary->Close();
    _epApp->PutDisplayAlerts(VARIANT_TRUE);

    result->GetRange(Variant(u"A:A,C:C,G:G"))->PutColumnWidth(Variant(10));
    result->GetRange(Variant(u"D:F"))->PutColumnWidth(Variant(8));
    result->GetRange(Variant(u"B:B"))->PutColumnWidth(Variant(34));
    result->GetCells()->PutRowHeight(Variant(30));
}
