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

    const std::u16string quantity = offset(a, 0, column::quantity)->GetAddress();
    const std::u16string price = offset(a, 0, column::price)->GetAddress();
    offset(a, 0, column::amount)->PutFormula(Variant(amountFormula(quantity, price)));
}

} // namespace layout
