#pragma once

#include "engine/core/address.h"
#include "engine/model/sheet.h"
#include "engine/model/workbook.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace engine {

// A workbook with one sheet, addressed in A1 text as a user would.
class SheetTest : public ::testing::Test {
protected:
    static CellAddress at(std::u16string_view a1) {
        Area a = parseArea(a1).value();
        return {a.top, a.left};
    }
    void type(std::u16string_view a1, std::u16string_view text) { sheet.enter(at(a1).row, at(a1).col, text); }
    Value value(std::u16string_view a1) const { return sheet.value(at(a1).row, at(a1).col); }
    std::u16string formula(std::u16string_view a1) const { return sheet.formulaText(at(a1).row, at(a1).col); }
    // The value of a formula typed into a spare cell.
    Value eval(std::u16string_view text) {
        type(u"Z100", text);
        return value(u"Z100");
    }

    Workbook book;
    Sheet& sheet = book.addSheet(u"征订登记");
};

inline Value num(double n) {
    return Value::number(n);
}
inline Value txt(std::u16string s) {
    return Value::text(std::move(s));
}
inline Value err(ErrorCode e) {
    return Value::error(e);
}

} // namespace engine
