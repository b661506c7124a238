#include "engine/core/error.h"
#include "engine/formula/parser.h"
#include "engine/formula/printer.h"

#include <gtest/gtest.h>

namespace engine::formula {
namespace {

std::u16string roundTrip(std::u16string_view text) {
    return print(parse(text));
}

TEST(ParsePrint, CanonicalTextReadsBackAsWritten) {
    for (std::u16string_view text : {
             u"IF(OR($C$5<1,$D$5<1),\"\",PRODUCT($C$5,$D$5))",
             u"SUM($E$3:$E$6)",
             u"SUBSTITUTE(TRIM(IF(COUNTIF($B$4:$B$6,\"报纸\"),\"\",\"报纸 \")&IF(COUNTIF($B$4:$B$6,\"杂志\"),"
             u"\"\",\"杂志 \")),\" \",\"、\")",
             u"AND(ISERROR(A2*1),A2<>\"征订年度\")",
             u"SUM(B:B)+SUM($1:$2)+A$1+$A1",
             u"'征订 登记'!A1+Sheet2!$B$2:C3",
             u"\"say \"\"hi\"\"\"",
             u"-2^2",
             u"(1+2)*3",
             u"5%",
             u"IF(A1,,2)",
             u"#N/A",
             u"TRUE<>FALSE",
             u"1E+20+0.5",
             u"foo(1)",
             u"A1&B1>=C1",
         })
        EXPECT_EQ(roundTrip(text), text);
}

TEST(ParsePrint, NormalisesCaseSpacesAndNumbers) {
    EXPECT_EQ(roundTrip(u"sum( a1:b2 )"), u"SUM(A1:B2)");
    EXPECT_EQ(roundTrip(u"countif($b$4,\"x\")"), u"COUNTIF($B$4,\"x\")");
    EXPECT_EQ(roundTrip(u"1.50+true"), u"1.5+TRUE");
    EXPECT_EQ(roundTrip(u"1e3"), u"1000");
    EXPECT_EQ(roundTrip(u"'Sheet2'!a1"), u"Sheet2!A1");
    EXPECT_EQ(roundTrip(u"'it''s'!A1"), u"'it''s'!A1");
}

TEST(ParsePrint, PrecedenceFollowsExcel) {
    // Negation binds tighter than ^, ^ tighter than *, & looser than +, comparison loosest.
    Node n = parse(u"-2^2");
    ASSERT_EQ(n.kind, NodeKind::Binary);
    EXPECT_EQ(n.op, Op::Power);
    EXPECT_EQ(n.args[0].kind, NodeKind::Unary);

    n = parse(u"1+2*3^2");
    EXPECT_EQ(n.op, Op::Add);
    EXPECT_EQ(n.args[1].op, Op::Multiply);
    EXPECT_EQ(n.args[1].args[1].op, Op::Power);

    n = parse(u"\"a\"&1+2=\"a3\"");
    EXPECT_EQ(n.op, Op::Equal);
    EXPECT_EQ(n.args[0].op, Op::Concat);
    EXPECT_EQ(n.args[0].args[1].op, Op::Add);

    n = parse(u"2^3^2"); // left to right, as Excel: 64
    EXPECT_EQ(n.args[0].op, Op::Power);
}

TEST(ParsePrint, ReferencesKeepTheirFlagsAndShape) {
    Node n = parse(u"$B3:C$4");
    ASSERT_EQ(n.kind, NodeKind::Area);
    EXPECT_EQ(n.first, (CellRef{2, 1, false, true}));
    EXPECT_EQ(n.last, (CellRef{3, 2, true, false}));

    n = parse(u"B:D");
    EXPECT_EQ(n.kind, NodeKind::Columns);
    EXPECT_EQ(n.first.col, 1);
    EXPECT_EQ(n.last.col, 3);

    n = parse(u"IV65536");
    EXPECT_EQ(n.first, (CellRef{65535, 255, false, false}));
    EXPECT_EQ(parse(u"IW1").kind, NodeKind::Name); // beyond the last column: not a reference
}

TEST(ParsePrint, UnknownFunctionsAndNamesAreKeptAsWritten) {
    Node n = parse(u"myFunc(A1,2)");
    EXPECT_EQ(n.kind, NodeKind::Function);
    EXPECT_EQ(n.text, u"myFunc");
    EXPECT_EQ(parse(u"total").kind, NodeKind::Name);
}

TEST(ParsePrint, RefusesWhatIsNotAFormula) {
    for (std::u16string_view bad : {u"", u"1+", u"SUM(1", u"(1", u"1)", u"\"open", u"A1 B1", u"IF()",
                                    u"COUNTIF(A1)", u"#BOGUS!", u"'Sheet", u"1..2", u"$$A1", u"{1,2}", u"@"})
        EXPECT_THROW(parse(bad), EngineError) << std::string(bad.begin(), bad.end());
    EXPECT_THROW(parse(std::u16string(5000, u'(') + u"1" + std::u16string(5000, u')')), EngineError);
    EXPECT_THROW(parse(std::u16string(5000, u'-') + u"1"), EngineError);
}

// Whatever text comes in, the parser either refuses it or gives a tree whose text reads back the same.
TEST(ParsePrint, AnyTextIsRefusedOrReadsBackStably) {
    const std::u16string_view pieces[] = {
        u"A1", u"$B$2", u":", u"B:B",  u"1:2",  u"(", u")",    u",",       u"+",      u"-",    u"*",    u"/",
        u"^",  u"&",    u"%", u"=",    u"<",    u">", u"\"",   u"'",       u"!",      u"SUM(", u"IF(",  u"x(",
        u"1",  u"2.5",  u"E", u"TRUE", u"#N/A", u" ", u"征订", u"Sheet2!", u"'a b'!", u"$",    u"#REF!"};
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF;
    };
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::u16string text;
        for (std::uint32_t n = next() % 8 + 1; n > 0; --n)
            text += pieces[next() % std::size(pieces)];
        try {
            std::u16string printed = print(parse(text));
            EXPECT_EQ(print(parse(printed)), printed) << round;
            ++accepted;
        } catch (const EngineError&) {
        }
    }
    EXPECT_GT(accepted, 100);
}

TEST(ParsePrint, QuotesSheetNamesOnlyWhereNeeded) {
    EXPECT_EQ(quoteSheetName(u"Sheet2"), u"Sheet2");
    EXPECT_EQ(quoteSheetName(u"征订登记"), u"'征订登记'");
    EXPECT_EQ(quoteSheetName(u"my sheet"), u"'my sheet'");
    EXPECT_EQ(quoteSheetName(u"A1"), u"'A1'");
    EXPECT_EQ(quoteSheetName(u"2024"), u"'2024'");
}

} // namespace
} // namespace engine::formula
