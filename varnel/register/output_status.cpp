#include "platform/com/registry.h"
#include "varnel/app/excel_window.h"
#include "varnel/app/maindlg.h"
#include "varnel/register/layout.h"
#include "varnel/register/lists.h"
#include "varnel/register/rows.h"
#include "varnel/register/tessikdlg.h"
#include "varnel/register/unit_name.h"

#include <string>

using namespace Excel;
using layout::offset;

namespace {

// Sets a sheet's column widths: every column, then column B wider for its long texts.
void setWidths(_Worksheet* sheet, int all, int columnB) {
    sheet->GetCells()->PutColumnWidth(Variant(all));
    sheet->GetRange(Variant(u"B:B"))->PutColumnWidth(Variant(columnB));
}

} // namespace

// Hands the user a workbook in a second spreadsheet instance: every unit row with its missing kinds and
// total, and the whole block of one unit chosen in the query dialog. The register's "Sheet2" serves
// the filter and is emptied again.
void CMainDlg::OnOutputStatus(IDispatch*, VARIANT_BOOL*) {
    const RangePtr last = _epSheet->GetRange(Variant(layout::bottomOfColumnA))->GetEnd(xlUp);
    std::u16string listText = u"A1:G";
    listText += layout::decimal(last->GetRow());
    const _WorksheetPtr scratch = _epBook->GetWorksheets()->GetItem(Variant(layout::scratchSheet));

    // A unit row's A holds a text other than the column-header text, and its column-header row follows
    // it; a text that reads as a number names a unit too, and a stray text below the register none.
    scratch->GetRange(Variant(u"B2"))
        ->PutValue2(Variant(u"=AND(ISTEXT(A2),A2<>\"征订年度\",A3=\"征订年度\")"));
    _epSheet->GetRange(Variant(listText))
        ->AdvancedFilter(xlFilterCopy, Variant(scratch->GetRange(Variant(u"B1:B2"))),
                         scratch->GetCells()->GetItem(Variant(3), Variant(1)), Variant(short(VARIANT_TRUE)));
    scratch->GetRange(Variant(u"1:2"))->Delete();

    std::u16string names;
    const long end = scratch->GetRange(Variant(layout::bottomOfColumnA))->GetEnd(xlUp)->GetRow();
    for (RangePtr cur = scratch->GetRange(Variant(u"A2")); cur->GetRow() <= end; cur = offset(cur, 1)) {
        const Variant value = cur->GetValue2();
        // Only a text names a unit; an error value that passed the criterion names none.
        if (value.vt() == VT_BSTR)
            names += u"," + value.bstrVal();
    }

    _ApplicationPtr output;
    createInstance(output, u"Excel.Application");
    const _WorkbookPtr book = output->GetWorkbooks()->Add();
    const _WorksheetPtr missing = book->GetWorksheets()->GetItem(Variant(1));
    scratch->GetCells()->Copy();
    missing->Paste();
    scratch->GetCells()->Delete();

    setWidths(missing, 15, 150);
    missing->GetCells()->PutRowHeight(Variant(60));
    missing->PutName(u"未征订情况统计");

    names.erase(0, names.find_first_not_of(u','));
    if (names.empty()) {
        MessageBoxW(excelWindow(*_epApp), u"还没有可供查询的征订单位", u"查询指定单位的征订情况", MB_OK);
        return;
    }

    CTessikDlg dialog;
    dialog.itemText = names;
    dialog.withYearItems = false;
    dialog.DoModal(excelWindow(*_epApp));
    _epSheet->Activate();
    if (dialog.itemText.empty())
        return;

    // The unit's own row holds the name as text; a cell that only shows it (a year, a stray value) is
    // no unit.
    const RangePtr found = layout::findTextInColumnA(_epApp, _epSheet, last->GetRow(), dialog.itemText);
    if (!found || !layout::isUnitRow(found))
        return;
    found->Select();
    found->GetEntireRow()->PutShowDetail(Variant(short(VARIANT_TRUE)));

    long i = 1;
    while (layout::outlineLevel(offset(found, i)) != layout::unitLevel)
        ++i;
    found->GetResize(Variant(i))->GetEntireRow()->Copy();

    // A new workbook may come with a single sheet.
    const SheetsPtr sheets = book->GetWorksheets();
    if (sheets->GetCount() < 2)
        sheets->Add(vtMissing, Variant(sheets->GetItem(Variant(1))));
    const _WorksheetPtr block = sheets->GetItem(Variant(2));
    setWidths(block, 12, 60);
    block->Paste();
    block->GetRows()->AutoFit();
    block->PutName(u"被查询单位征订情况");

    output->PutVisible(VARIANT_TRUE);
    block->Select();
}
