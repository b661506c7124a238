#include "varnel/app/excel_window.h"
#include "varnel/app/maindlg.h"
#include "varnel/register/entry_row.h"
#include "varnel/register/formulas.h"
#include "varnel/register/layout.h"
#include "varnel/register/lists.h"
#include "varnel/register/rows.h"
#include "varnel/register/unit_name.h"

using namespace Excel;
using layout::offset;
namespace column = layout::column;

// Appends a unit block below the last one: the unit row with its name and summary formulas, the
// column-header row and one prepared entry row, the two lower rows grouped under the unit row.
void CMainDlg::OnAddUnit(IDispatch*, VARIANT_BOOL*) {
    const Variant name = _epApp->InputBox(u"请输入单位名称：", Variant(u"添加统计单位"), Variant(u"未知单位"),
                                          vtMissing, vtMissing, vtMissing, vtMissing, Variant(2));
    // Cancel gives the boolean False. A name that cannot be kept or listed as typed is no name either.
    if (name.vt() != VT_BSTR || !layout::isUnitName(name.bstrVal())) {
        MessageBoxW(excelWindow(*_epApp), u"输入类型不正确！", u"添加统计单位错误", MB_OK);
        return;
    }

    _epBook->Activate();
    _epSheet->Activate();

    // Up from the register's last used row to the last block, whose group is expanded, then down past
    // it to the row of level 1 that ends it. The new unit row is the one after that, and below anything
    // written under the register.
    const long bottom = layout::lastUsedRow(_epSheet);
    RangePtr p = _epSheet->GetRange(Variant(u"A" + layout::decimal(bottom)));
    while (p->GetRow() != layout::headingRow && layout::outlineLevel(p) != layout::entryLevel)
        p = offset(p, -1);
    while (p->GetRow() != layout::headingRow) {
        if (layout::outlineLevel(p) == layout::unitLevel) {
            p->GetEntireRow()->PutShowDetail(Variant(short(VARIANT_TRUE)));
            break;
        }
        p = offset(p, -1);
    }
    while (p->GetRow() != layout::headingRow) {
        p = offset(p, 1);
        if (layout::outlineLevel(p) == layout::unitLevel)
            break;
    }
    if (p->GetRow() < bottom)
        p = _epSheet->GetRange(Variant(u"A" + layout::decimal(bottom)));
    p = offset(p, 1);
    p->Select();
    const RangePtr u = p->GetEntireRow()->GetResize(Variant(1), Variant(1));

    const std::u16string& text = name.bstrVal();
    if (layout::countText(_epApp, u->GetEntireColumn(), text) > 0) {
        MessageBoxW(excelWindow(*_epApp), u"该单位已经存在，不能添加相同的单位！", u"添加统计单位", MB_OK);
        if (RangePtr found = layout::findTextInColumnA(_epApp, _epSheet, bottom, text))
            found->Select();
        return;
    }

    u->PutValue2(layout::asText(text));
    offset(u, 1)->GetResize(Variant(2))->GetEntireRow()->Insert(Variant(int(xlShiftDown)));

    const RangePtr rows = offset(u, 1)->GetResize(Variant(2))->GetEntireRow();
    layout::borderEntryRows(rows);
    layout::paintEntryRows(rows);
    rows->GetValidation()->Delete();
    rows->Group();

    const RangePtr h(rows->GetCells()->GetItem(Variant(1)));
    h->GetEntireRow()->GetFont()->PutColorIndex(Variant(int(layout::headerFont)));
    h->PutValue2(Variant(layout::headerTexts[0]));
    for (long i = 1; i < long(layout::headerTexts.size()); ++i)
        offset(h, 0, i)->PutValue2(Variant(layout::headerTexts[i]));

    layout::prepareEntryCells(offset(h, 1), materialKinds, magazineName);

    offset(h, -1, column::quantity)
        ->PutFormula(Variant(layout::totalFormula(offset(h, 1, column::amount)->GetAddress())));

    const RangePtr missing = offset(h, -1, column::material);
    missing->PutFormula(
        Variant(layout::missingKindsFormula(offset(h, 1, column::material)->GetAddress(), materialKinds)));

    missing->GetEntireRow()->AutoFit();
    missing->PutHorizontalAlignment(Variant(int(xlLeft)));
}
