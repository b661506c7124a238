#include "varnel/register/rows.h"

#include "varnel/register/layout.h"

#include <algorithm>
#include <string>

namespace layout {

Excel::RangePtr offset(Excel::Range* cell, long rows, long columns) {
    return cell->GetOffset(Variant(rows), Variant(columns));
}

long outlineLevel(Excel::Range* cell) {
    return cell->GetEntireRow()->GetOutlineLevel().toLong();
}

bool isBlankRow(Excel::_Application* app, Excel::Range* cell) {
    Excel::RangePtr row = cell->GetEntireRow();
    return app->GetWorksheetFunction()->CountBlank(row) == static_cast<double>(row->GetCells()->GetCount());
}

long lastUsedRow(Excel::_Worksheet* sheet) {
    long last = headingRow;
    for (char16_t column = u'A'; column <= u'G'; ++column) {
        const std::u16string bottom = std::u16string(1, column) + u"65536";
        last = std::max(last, sheet->GetRange(Variant(bottom))->GetEnd(Excel::xlUp)->GetRow());
    }
    return last;
}

void addListValidation(Excel::Range* cells, std::u16string_view list) {
    cells->GetValidation()->Add(Excel::xlValidateList, Variant(int(Excel::xlValidAlertStop)),
                                Variant(int(Excel::xlBetween)), Variant(list));
}

} // namespace layout
