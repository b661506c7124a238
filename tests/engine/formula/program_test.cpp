#include "engine/core/error.h"
#include "engine/formula/parser.h"
#include "engine/formula/printer.h"
#include "engine/formula/program.h"

#include <gtest/gtest.h>
#include <map>

namespace engine::formula {
namespace {

// A workbook's sheet names as a map from id to name.
SheetNames namesOf(const std::map<SheetId, std::u16string>& sheets) {
    return {[sheets](std::u16string_view n) -> std::optional<SheetId> {
                for (const auto& [id, name] : sheets)
                    if (name == n)
                        return id;
                return std::nullopt;
            },
            [sheets](SheetId id) -> std::optional<std::u16string> {
                auto it = sheets.find(id);
                return it == sheets.end() ? std::nullopt : std::optional(it->second);
            }};
}

TEST(Program, TellsWhatRecalculationNeedsToKnow) {
    SheetNames names = namesOf({{1, u"Sheet2"}});
    EXPECT_FALSE(readsOtherSheets(parse(u"SUM(A1:B2)+\"Sheet2!A1\"", names)));
    EXPECT_TRUE(readsOtherSheets(parse(u"Sheet2!A1", names)));
    EXPECT_TRUE(isVolatile(parse(u"YEAR(TODAY())", names)));
    EXPECT_FALSE(isVolatile(parse(u"YEAR(1)", names)));
}

TEST(Program, FormulasTakenToAnotherWorkbookFindTheirSheetsByName) {
    SheetNames from = namesOf({{0, u"征订登记"}, {1, u"Sheet2"}, {2, u"Gone"}});
    SheetNames to = namesOf({{5, u"Sheet2"}, {7, u"征订登记"}});
    Program p = parse(u"征订登记!A1+Sheet2!B2:C3+A1+Sheet2!#REF!", from);
    rebindSheets(p, from, to);
    EXPECT_EQ(print(p, to), u"'征订登记'!A1+Sheet2!B2:C3+A1+Sheet2!#REF!");

    // A sheet removed from the first workbook before the formula moved: #REF!.
    p = parse(u"Gone!A1+1", from);
    SheetNames removed = namesOf({{0, u"征订登记"}, {1, u"Sheet2"}});
    rebindSheets(p, removed, to);
    EXPECT_EQ(print(p, to), u"#REF!+1");

    // A sheet the other workbook lacks: refused, the formula left as it was.
    p = parse(u"Sheet2!A1+Gone!A1", from);
    Program before = p;
    EXPECT_THROW(rebindSheets(p, from, to), EngineError);
    EXPECT_EQ(print(p, from), print(before, from));
}

} // namespace
} // namespace engine::formula
