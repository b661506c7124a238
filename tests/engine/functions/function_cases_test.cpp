// Every worksheet function of a group against its table of cases (cases/*.tsv): results LibreOffice
// computed, written in by scripts/function-cases, or Excel's documented result where the two differ.
#include "engine/core/address.h"
#include "engine/formula/functions/groups.h"
#include "engine/model/sheet.h"
#include "engine/model/workbook.h"
#include "platform/text/utf.h"
#include "tests/engine/functions/case_file.h"

#include <cmath>
#include <exception>
#include <gtest/gtest.h>
#include <set>

namespace engine {
namespace {

using cases::Case;
using text::toUtf16;
using text::toUtf8;

std::string shown(const Value& v) {
    switch (v.kind()) {
    case Value::Kind::Empty:
        return "(empty)";
    case Value::Kind::Number: {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", v.asNumber());
        return buf;
    }
    case Value::Kind::Text:
        return '"' + toUtf8(v.asText()).append(1, '"');
    case Value::Kind::Boolean:
        return v.asBoolean() ? "TRUE" : "FALSE";
    case Value::Kind::Error:
        return toUtf8(errorText(v.asError()));
    }
    return {};
}

// LibreOffice reports an argument outside a function's domain (502) and a result beyond the range of a
// double (503) with codes of its own; Excel gives #NUM! for both.
std::optional<Value> expected(const Case& c) {
    const std::string& e = c.excel.empty() ? c.libreOffice : c.excel;
    if (e == "Err:502" || e == "Err:503")
        return Value::error(ErrorCode::Num);
    return cases::parseValue(toUtf16(e));
}

// LibreOffice writes 15 significant digits: numbers agree within `tolerance` of their size.
bool same(const Value& got, const Value& want, double tolerance) {
    if (got.isNumber() && want.isNumber()) {
        double a = got.asNumber(), b = want.asNumber();
        return std::fabs(a - b) <= tolerance * std::max(std::fabs(a), std::fabs(b));
    }
    return got == want;
}

CellAddress at(std::u16string_view a1) {
    Area a = parseArea(a1).value();
    return {a.top, a.left};
}

// The case's result, its formula in J1 of a sheet holding its cells.
Value compute(const Case& c) {
    Workbook book;
    Sheet& sheet = book.addSheet(u"Sheet1");
    for (const auto& [cell, value] : c.cells) {
        if (cell == u"hidden") {
            sheet.setRowHidden(std::stoi(text::toUtf8(value)) - 1, true);
            continue;
        }
        CellAddress a = at(cell);
        if (value.starts_with(u"="))
            sheet.setFormula(a.row, a.col, value);
        else
            sheet.setValue(a.row, a.col, cases::parseValue(value).value());
    }
    sheet.setFormula(0, 9, c.formula);
    return sheet.value(0, 9);
}

using Group = std::initializer_list<std::span<const formula::Function>>;

void checkGroup(const std::string& name, Group group, double tolerance = 1e-14) {
    auto file = std::filesystem::path(VARNEL_SOURCE_DIR) / "tests/engine/functions/cases" / (name + ".tsv");
    std::vector<Case> all = cases::readCases(file);
    std::set<std::u16string> rows, covered;
    for (auto rowsOfFile : group)
        for (const formula::Function& f : rowsOfFile)
            rows.emplace(f.name);
    for (const Case& c : all) {
        std::string where = name + ".tsv:" + std::to_string(c.line) + " " + toUtf8(c.formula);
        EXPECT_TRUE(rows.contains(c.function))
            << where << ": " << toUtf8(c.function) << " is not of this group";
        covered.insert(c.function);
        if (c.libreOffice.empty()) {
            ADD_FAILURE() << where << ": no result from LibreOffice yet; run scripts/function-cases";
            continue;
        }
        if (!c.excel.empty()) {
            EXPECT_NE(c.excel, c.libreOffice)
                << where << ": Excel's result is LibreOffice's, the note no longer holds";
        }
        std::optional<Value> want = expected(c);
        if (!want) {
            ADD_FAILURE() << where << ": LibreOffice gives " << c.libreOffice
                          << ", which needs Excel's result";
            continue;
        }
        Value got;
        try {
            got = compute(c);
        } catch (const std::exception& e) {
            ADD_FAILURE() << where << ": refused: " << e.what();
            continue;
        }
        EXPECT_TRUE(same(got, *want, tolerance))
            << where << ": " << shown(got) << ", expected " << shown(*want) << " " << c.note;
    }
    for (const std::u16string& f : rows)
        EXPECT_TRUE(covered.contains(f)) << toUtf8(f) << " has no cases in " << name << ".tsv";
}

TEST(FunctionCases, MathAndTrigonometry) {
    checkGroup("math",
               {formula::mathFunctions(), formula::roundingFunctions(), formula::elementaryFunctions(),
                formula::romanFunctions(), formula::subtotalFunctions()});
}

TEST(FunctionCases, Statistical) {
    checkGroup("statistical",
               {formula::statisticalFunctions(), formula::dispersionFunctions(), formula::orderFunctions()});
}

TEST(FunctionCases, LogicalAndInformation) {
    checkGroup("logical", {formula::logicalFunctions(), formula::informationFunctions()});
}

TEST(FunctionCases, Text) {
    checkGroup("text", {formula::textFunctions(), formula::characterFunctions(), formula::positionFunctions(),
                        formula::byteFunctions(), formula::formattedFunctions()});
}

TEST(FunctionCases, LookupAndReference) {
    checkGroup("lookup", {formula::lookupFunctions(), formula::referenceFunctions()});
}

TEST(FunctionCases, DateAndTime) {
    checkGroup("date", {formula::dateFunctions()});
}

TEST(FunctionCases, Financial) {
    // LibreOffice's annuities lose a digit more to rounding than the 15 it writes (against the same
    // formulas in exact decimal arithmetic).
    checkGroup("financial", {formula::financialFunctions()}, 1e-13);
}

} // namespace
} // namespace engine
