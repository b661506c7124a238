#include "engine/core/error.h"
#include "engine/formula/parser.h"
#include "engine/formula/printer.h"
#include "engine/formula/program.h"

#include <gtest/gtest.h>

namespace engine::formula {
namespace {

const SheetNames kSheets{[](std::u16string_view n) -> std::optional<SheetId> {
                             if (n == u"Sheet2")
                                 return 1;
                             if (n == u"征订 登记")
                                 return 2;
                             return std::nullopt;
                         },
                         [](SheetId id) -> std::optional<std::u16string> {
                             if (id == 1)
                                 return u"Sheet2";
                             if (id == 2)
                                 return u"征订 登记";
                             return std::nullopt;
                         }};

std::u16string throughProgram(std::u16string_view text) {
    return print(decompile(compile(parse(text), kSheets), kSheets));
}

TEST(Program, KeepsEveryFormOfTheTreeThroughTheCompactForm) {
    for (std::u16string_view text : {u"\"\"",
                                     u"\"abc\"",
                                     u"\"abcd\"",
                                     u"\"abcde\"",
                                     u"\"12345678\"",
                                     u"\"一二三四五六七八九\"",
                                     u"IF(OR($C$5<1,$D$5<1),\"\",PRODUCT($C$5,$D$5))",
                                     u"SUM($E$3:$E$6)",
                                     u"-(1+2)%^3",
                                     u"IF(A1,,2)",
                                     u"unknownFn(1,\"ab\",A1)",
                                     u"someName&abcdefghi",
                                     u"Sheet2!A1:B2+'征订 登记'!$C$3",
                                     u"SUM(B:B,$2:$3)",
                                     u"Sheet2!#REF!+#REF!",
                                     u"TRUE=FALSE",
                                     u"#DIV/0!",
                                     u"1E+20",
                                     u"COUNTIF(A:A,\"*\")",
                                     u"TODAY()"})
        EXPECT_EQ(throughProgram(text), text);
}

TEST(Program, ReferencesToAnUnknownOrRemovedSheet) {
    EXPECT_THROW(compile(parse(u"Nowhere!A1"), kSheets), EngineError);
    Program p = compile(parse(u"Sheet2!A1+1"), kSheets);
    SheetNames removed{kSheets.find, [](SheetId) -> std::optional<std::u16string> {
                           return std::nullopt;
                       }};
    EXPECT_EQ(print(decompile(p, removed)), u"#REF!+1");
}

TEST(Program, TellsWhatRecalculationNeedsToKnow) {
    EXPECT_FALSE(readsOtherSheets(compile(parse(u"SUM(A1:B2)+\"Sheet2!A1\""), kSheets)));
    EXPECT_TRUE(readsOtherSheets(compile(parse(u"Sheet2!A1"), kSheets)));
    EXPECT_TRUE(isVolatile(compile(parse(u"YEAR(TODAY())"), kSheets)));
    EXPECT_FALSE(isVolatile(compile(parse(u"YEAR(1)"), kSheets)));
}

} // namespace
} // namespace engine::formula
