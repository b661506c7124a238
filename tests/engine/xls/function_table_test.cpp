#include "engine/core/error.h"
#include "engine/formula/excel_functions.h"
#include "engine/formula/functions.h"
#include "engine/model/workbook.h"
#include "engine/xls/xls.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using namespace engine;

std::string narrow(std::u16string_view s) {
    return {s.begin(), s.end()};
}

// A formula the engine accepts must be one a file can hold: every function it computes has Excel's
// table row, and takes exactly the argument counts Excel 97 takes (at most 30), or saving the formula
// would fail after it was typed.
TEST(FunctionTable, EveryFunctionTheEngineComputesIsStoredByItsExcelIndexWithExcelsArity) {
    ASSERT_GT(formula::functionCount(), 0);
    for (uint16_t id = 0; id < formula::functionCount(); ++id) {
        const formula::Function& f = formula::function(id);
        const formula::BiffFunction* row = formula::biffFunctionOf(id);
        ASSERT_NE(row, nullptr) << narrow(f.name);
        EXPECT_EQ(row->name, narrow(f.name));
        EXPECT_EQ(formula::engineFunction(row->index), id) << narrow(f.name);
        EXPECT_EQ(f.minArgs, row->minArgs) << narrow(f.name);
        EXPECT_EQ(f.maxArgs, row->maxArgs) << narrow(f.name);
    }
}

// Excel refuses such a call as it is typed; accepted, it would only fail later, when the register is
// saved.
TEST(FunctionTable, ACallWithACountExcelDoesNotTakeIsRefusedAsTypedAndAnyOtherIsSaved) {
    Workbook book;
    Sheet& sheet = book.addSheet(u"Sheet1");
    EXPECT_THROW(sheet.setFormula(0, 0, u"=IF(TRUE)"), EngineError);
    // Functions the engine keeps by name without computing them hold to Excel's counts too.
    EXPECT_THROW(sheet.setFormula(0, 0, u"=IPMT(1)"), EngineError);
    EXPECT_THROW(sheet.setFormula(0, 0, u"=vlookup(1,A1:B2)"), EngineError);
    std::u16string thirty = u"=SUM(1";
    for (int i = 1; i < 30; ++i)
        thirty += u",1";
    EXPECT_THROW(sheet.setFormula(0, 0, thirty + u",1)"), EngineError);
    sheet.setFormula(0, 0, thirty + u")");
    sheet.setFormula(0, 1, u"=IF(TRUE,1)");
    sheet.setFormula(0, 2, u"=IPMT(0.1,1,2,100)");

    auto back = xls::readWorkbook(xls::workbookBytes(book), "calls.xls");
    const Sheet& read = back.workbook->sheet(0);
    EXPECT_EQ(read.formulaText(0, 0), thirty + u")");
    EXPECT_EQ(read.value(0, 0), Value::number(30));
    EXPECT_EQ(read.value(0, 1), Value::number(1));
    EXPECT_EQ(read.formulaText(0, 2), u"=IPMT(0.1,1,2,100)");
}

} // namespace
