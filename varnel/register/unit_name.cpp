#include "varnel/register/unit_name.h"

#include "varnel/register/formulas.h"
#include "varnel/register/layout.h"
#include "varnel/register/lists.h"
#include "varnel/register/rows.h"

namespace layout {

namespace {

// The input box's own limit for a text.
constexpr std::size_t kMaxNameLength = 255;

// Texts built by appending, which GCC's overlap warning does not misread.
std::u16string joined(std::u16string_view first, std::u16string_view second) {
    std::u16string text(first);
    text.append(second);
    return text;
}

Excel::RangePtr columnA(Excel::_Worksheet* sheet, long lastRow) {
    return sheet->GetRange(Variant(u"A1"), Variant(joined(u"A", decimal(lastRow))));
}

} // namespace

bool isUnitName(std::u16string_view name) {
    return !name.empty() && name.size() <= kMaxNameLength && name.find(u',') == std::u16string_view::npos;
}

Variant asText(std::u16string_view text) {
    return Variant(joined(u"'", text));
}

double countText(Excel::_Application* app, Excel::Range* cells, std::u16string_view text) {
    // A pattern matches texts only: those that begin with the text, less those that go on after it.
    const std::u16string start = literalCriterion(text);
    const Excel::WorksheetFunctionPtr functions = app->GetWorksheetFunction();
    return functions->CountIf(cells, Variant(start + u"*")) -
           functions->CountIf(cells, Variant(start + u"?*"));
}

Excel::RangePtr findTextInColumnA(Excel::_Application* app, Excel::_Worksheet* sheet, long lastRow,
                                  std::u16string_view text) {
    if (countText(app, columnA(sheet, lastRow), text) < 1)
        return nullptr;
    // The first row down to which the column holds the text: at most seventeen halvings of the sheet.
    long below = 0, atOrAbove = lastRow;
    while (atOrAbove - below > 1) {
        const long middle = below + (atOrAbove - below) / 2;
        if (countText(app, columnA(sheet, middle), text) >= 1)
            atOrAbove = middle;
        else
            below = middle;
    }
    return sheet->GetRange(Variant(joined(u"A", decimal(atOrAbove))));
}

bool isUnitRow(Excel::Range* cell) {
    return outlineLevel(cell) == unitLevel && outlineLevel(offset(cell, 1)) == entryLevel;
}

} // namespace layout
