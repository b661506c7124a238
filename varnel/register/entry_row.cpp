#include "varnel/register/entry_row.h"

#include "varnel/app/clock.h"
#include "varnel/register/formulas.h"
#include "varnel/register/layout.h"
#include "varnel/register/lists.h"
#include "varnel/register/rows.h"

namespace layout {

namespace {

void replaceListValidation(Excel::Range* cell, std::u16string_view list) {
    cell->GetValidation()->Delete();
    addListValidation(cell, list);
}

// A quantity or a price is a number, and none is below zero: a text there would compute a wrong amount.
void replaceNumberValidation(Excel::Range* cell) {
    cell->GetValidation()->Delete();
    cell->GetValidation()->Add(Excel::xlValidateDecimal, Variant(int(Excel::xlValidAlertStop)),
                               Variant(int(Excel::xlGreaterEqual)), Variant(u"0"));
}

} // namespace

void paintEntryRows(Excel::Range* rows) {
    rows->GetInterior()->PutColorIndex(Variant(int(entryFill)));
    rows->GetFont()->PutColorIndex(Variant(int(entryFont)));
}

void borderEntryRows(Excel::Range* rows) {
    Excel::BordersPtr borders = rows->GetBorders();
    borders->PutLineStyle(Variant(int(entryBorderStyle)));
    borders->PutWeight(Variant(int(entryBorderWeight)));
}

void prepareEntryCells(Excel::Range* a, std::u16string_view kinds, std::u16string_view magazine) {
    const int year = app::currentYear();
    replaceListValidation(a, yearList(year));
    replaceListValidation(offset(a, 0, column::material), materialList(kinds, magazine, year));
    replaceNumberValidation(offset(a, 0, column::quantity));
    replaceNumberValidation(offset(a, 0, column::price));

    const std::u16string quantity = offset(a, 0, column::quantity)->GetAddress();
    const std::u16string price = offset(a, 0, column::price)->GetAddress();
    offset(a, 0, column::amount)->PutFormula(Variant(amountFormula(quantity, price)));
}

} // namespace layout
