#include "varnel/app/maindlg.h"
#include "varnel/register/entry_row.h"
#include "varnel/register/formulas.h"
#include "varnel/register/layout.h"
#include "varnel/register/rows.h"
#include "varnel/register/unit_name.h"

#include <algorithm>

using namespace Excel;
using layout::offset;
namespace column = layout::column;

namespace {

bool reachesAmounts(Range* t) {
    const long amount = column::amount + 1; // columns count from 1
    const long left = t->GetColumn();
    return left <= amount && amount < left + t->GetColumns()->GetCount();
}

// An entry row pasted from elsewhere brings the amount formula of the row it was copied from, whose
// absolute addresses still name that row: each such formula among the changed entry rows is written again
// for its own row. That write is a single-cell edit of the row and comes back to the handler as one, so a
// row pasted into a block's blank last row gets the block its next entry row, as typing does. From the
// bottom up: a row made below a block leaves the rows still to look at where they were.
void giveCopiedAmountsTheirRows(Range* t) {
    if (!reachesAmounts(t))
        return;
    const RangePtr first = t->GetEntireRow()->GetResize(Variant(1), Variant(1));
    const long top = t->GetRow();
    long bottom = top + t->GetRows()->GetCount() - 1;
    // Below the last used cell of E there is no formula: a whole column costs only the rows in use. A
    // single row, as the handler's own inserted entry row, needs no such bound.
    if (bottom > top)
        bottom = std::min(
            bottom, t->GetWorksheet()->GetRange(Variant(layout::bottomOfColumnE))->GetEnd(xlUp)->GetRow());
    for (long row = bottom; row >= top && row > layout::headingRow; --row) {
        const RangePtr amount = offset(first, row - top, column::amount);
        if (layout::outlineLevel(amount) != layout::entryLevel)
            continue;
        const Variant formula = amount->GetFormula();
        if (formula.vt() != VT_BSTR)
            continue;
        const std::optional<long> from = layout::amountFormulaRow(formula.bstrVal());
        if (!from || *from == row)
            continue;
        const std::u16string quantity = offset(amount, 0, column::quantity - column::amount)->GetAddress();
        const std::u16string price = offset(amount, 0, column::price - column::amount)->GetAddress();
        amount->PutFormula(Variant(layout::amountFormula(quantity, price)));
    }
}

} // namespace

// Keeps a unit block ending with one blank, prepared entry row: once a single-cell edit leaves the
// block's last row filled, a new entry row is made below it, the unit's name goes into G of the edited
// row and the unit row's total and missing kinds are made to cover the whole block. The handler's own
// writes come back here nested and stop at the first tests. Amount formulas that a paste brought along
// are first given their own rows.
void CMainDlg::OnSheetChange(IDispatch*, IDispatch* Target) {
    const RangePtr t(Target);
    giveCopiedAmountsTheirRows(t);
    if (t->GetCells()->GetCount() > 1)
        return;
    if (t->GetMergeCells().toBool())
        return;
    if (layout::outlineLevel(t) != layout::entryLevel)
        return;
    // Above row 1 there is no unit row to look for.
    if (t->GetRow() == layout::headingRow)
        return;

    RangePtr n = offset(t, 1)->GetEntireRow()->GetResize(Variant(1), Variant(1));
    while (layout::outlineLevel(n) == layout::entryLevel)
        n = offset(n, 1);
    const RangePtr last = offset(n, -1);
    if (layout::isBlankRow(_epApp, last))
        return;

    if (layout::isBlankRow(_epApp, n)) {
        // The separator, or an empty row below the last block, joins the block.
        const RangePtr row = n->GetEntireRow();
        row->PutOutlineLevel(Variant(int(layout::entryLevel)));
        layout::paintEntryRows(row);
    } else {
        // The next unit row follows directly: a row inserted above it takes the block's format. n moves
        // down with the unit row, so the new row is the one above it.
        n->GetEntireRow()->Insert(Variant(int(xlShiftDown)), Variant(int(xlFormatFromLeftOrAbove)));
        n = offset(n, -1);
    }
    layout::borderEntryRows(n->GetEntireRow());
    n->GetEntireRow()->GetValidation()->Delete();

    layout::prepareEntryCells(n, materialKinds, magazineName);

    const std::u16string lastE = offset(n, 0, column::amount)->GetAddress();
    const std::u16string lastB = offset(n, 0, column::material)->GetAddress();

    // Up to the unit row, never above row 2.
    RangePtr u = offset(t, -1)->GetEntireRow()->GetResize(Variant(1), Variant(1));
    while (layout::outlineLevel(u) == layout::entryLevel && u->GetRow() >= 3)
        u = offset(u, -1);

    // A name is copied as the text it is, which Value2 would otherwise read afresh.
    const Variant unitName = u->GetValue2();
    if (!unitName.isEmpty())
        offset(t->GetEntireRow()->GetResize(Variant(1), Variant(1)), 0, column::unit)
            ->PutValue2(unitName.vt() == VT_BSTR ? layout::asText(unitName.bstrVal()) : unitName);

    const std::u16string firstE = offset(u, 1, column::amount)->GetAddress();
    offset(u->GetEntireRow()->GetResize(Variant(1), Variant(1)), 0, column::quantity)
        ->PutFormula(Variant(layout::totalFormula(layout::spanning(firstE, lastE))));

    const std::u16string firstB = offset(u, 2, column::material)->GetAddress();
    const RangePtr missing = offset(u, 0, column::material);
    missing->PutFormula(Variant(layout::missingKindsFormula(layout::spanning(firstB, lastB), materialKinds)));
    missing->GetEntireRow()->AutoFit();
}
