#include "engine/core/error.h"
#include "engine/formula/functions.h"
#include "engine/formula/parser.h"
#include "engine/formula/printer.h"

#include <gtest/gtest.h>

namespace engine::formula {
namespace {

const SheetNames kSheets{[](std::u16string_view n) -> std::optional<SheetId> {
                             if (n == u"Sheet2")
                                 return 1;
                             if (n == u"征订 登记")
                                 return 2;
                             if (n == u"it's")
                                 return 3;
                             return std::nullopt;
                         },
                         [](SheetId id) -> std::optional<std::u16string> {
                             switch (id) {
                             case 1:
                                 return u"Sheet2";
                             case 2:
                                 return u"征订 登记";
                             case 3:
                                 return u"it's";
                             }
                             return std::nullopt;
                         }};

std::u16string roundTrip(std::u16string_view text) {
    return print(parse(text, kSheets), kSheets);
}

// The tokens in order, one word each: what the parser made of the text's structure.
std::string postfix(std::u16string_view text) {
    static const char* const ops[] = {"+",  "-", "*",  "/",   "^",    "&", "=",     "<>",    "<",
                                      "<=", ">", ">=", "neg", "plus", "%", "union", "isect", "range"};
    Program p = parse(text, kSheets);
    std::string out;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const Token& t = p[i];
        if (!out.empty() && t.kind != TokenKind::Chars)
            out += ' ';
        switch (t.kind) {
        case TokenKind::Number:
            out += std::to_string(static_cast<int>(t.payload.number));
            break;
        case TokenKind::Unary:
        case TokenKind::Binary:
            out += ops[t.payload.code];
            break;
        case TokenKind::Paren:
            out += "()";
            break;
        case TokenKind::Function:
            out += "call" + std::to_string(t.payload.call.argc);
            break;
        case TokenKind::Text:
            out += "text";
            break;
        case TokenKind::Chars:
            break;
        default:
            out += "other";
        }
    }
    return out;
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
             u"Sheet2!#REF!+#REF!",
             u"\"say \"\"hi\"\"\"",
             u"\"\"",
             u"\"abcd\"&\"abcde\"&\"一二三四五六七八九\"",
             u"-2^2",
             u"-(1+2)%^3",
             u"5%",
             u"IF(A1,,2)",
             u"#N/A",
             u"#DIV/0!",
             u"TRUE<>FALSE",
             u"1E+20+0.5",
             u"foo(1)",
             u"unknownFn(1,\"ab\",A1)",
             u"someName&abcdefghi",
             u"A1&B1>=C1",
             u"TODAY()",
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
    EXPECT_EQ(postfix(u"-2^2"), "2 neg 2 ^");
    EXPECT_EQ(postfix(u"1+2*3^2"), "1 2 3 2 ^ * +");
    EXPECT_EQ(postfix(u"\"a\"&1+2=\"a3\""), "text 1 2 + & text =");
    EXPECT_EQ(postfix(u"2^3^2"), "2 3 ^ 2 ^"); // left to right, as Excel: 64
    EXPECT_EQ(postfix(u"-(1+2)%"), "1 2 + () neg %");
    EXPECT_EQ(postfix(u"ROUND(1,2)*3"), "1 2 call2 3 *");
}

TEST(ParsePrint, ReferencesKeepTheirFlagsAndShape) {
    Program p = parse(u"$B3:C$4", kSheets);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].kind, TokenKind::Area);
    EXPECT_EQ(p[0].flags, kLeftAbsolute | kBottomAbsolute);
    EXPECT_EQ(p[0].payload.area.top, 2);
    EXPECT_EQ(p[0].payload.area.left, 1);
    EXPECT_EQ(p[0].payload.area.bottom, 3);
    EXPECT_EQ(p[0].payload.area.right, 2);
    EXPECT_EQ(p[0].sheet, kOwnSheet);

    p = parse(u"Sheet2!B:D", kSheets);
    EXPECT_EQ(p[0].flags, kWholeColumns);
    EXPECT_EQ(p[0].sheet, 1);
    EXPECT_EQ(p[0].payload.area.top, 0);
    EXPECT_EQ(p[0].payload.area.bottom, kLastRow);
    EXPECT_EQ(p[0].payload.area.right, 3);

    p = parse(u"IV65536", kSheets);
    EXPECT_EQ(p[0].kind, TokenKind::Ref);
    EXPECT_EQ(p[0].payload.area.top, 65535);
    EXPECT_EQ(p[0].payload.area.left, 255);
    EXPECT_EQ(parse(u"IW1", kSheets)[0].kind, TokenKind::Name); // beyond the last column: not a reference
}

TEST(ParsePrint, KnownFunctionsAreCalledByIdAndOthersKeptByName) {
    Program p = parse(u"sum(1)", kSheets);
    ASSERT_EQ(p.back().kind, TokenKind::Function);
    EXPECT_EQ(function(p.back().payload.call.id).name, u"SUM");
    p = parse(u"myFunc(A1,2)", kSheets);
    EXPECT_EQ(p[2].kind, TokenKind::Name);
    EXPECT_EQ(p[2].flags, kUnknownCall);
    EXPECT_EQ(p[2].payload.call.argc, 2);
    EXPECT_EQ(roundTrip(u"myFunc(A1,2)"), u"myFunc(A1,2)");
    EXPECT_EQ(parse(u"total", kSheets)[0].kind, TokenKind::Name);
}

TEST(ParsePrint, ArrayConstantsHoldConstantsInRowsOfEqualLength) {
    EXPECT_EQ(roundTrip(u"{1,2;3,4}"), u"{1,2;3,4}");
    EXPECT_EQ(roundTrip(u"SUM( { 1 , -2.5 ; \"a\"\"b\" , true } )"), u"SUM({1,-2.5;\"a\"\"b\",TRUE})");
    EXPECT_EQ(roundTrip(u"MATCH(\"b\",{\"a\",\"b\"},0)+{#N/A}"), u"MATCH(\"b\",{\"a\",\"b\"},0)+{#N/A}");
    Program p = parse(u"{1,\"xyzzy!\";FALSE,#DIV/0!}", kSheets);
    ASSERT_EQ(p[0].kind, TokenKind::Array);
    EXPECT_EQ(p[0].payload.array.rows, 2);
    EXPECT_EQ(p[0].payload.array.columns, 2);
    EXPECT_EQ(p[0].payload.array.tokens, p.size() - 1); // a text of six characters takes two Chars
    for (std::u16string_view bad :
         {u"{1,2;3}", u"{1;2,3}", u"{A1}", u"{1+1}", u"{}", u"{1,}", u"{1", u"{-TRUE}", u"{{1}}", u"{SUM(1)}",
          u"COUNTIF({1,2},1)", u"SUMIF(A1:A2,1,{1,2})", u"COUNTBLANK({1})"})
        EXPECT_THROW(parse(bad, kSheets), EngineError) << std::string(bad.begin(), bad.end());
}

TEST(ParsePrint, RefusesWhatIsNotAFormula) {
    for (std::u16string_view bad :
         {u"", u"1+", u"SUM(1", u"(1", u"1)", u"\"open", u"1 A1", u"IF()", u"COUNTIF(A1)", u"#BOGUS!",
          u"'Sheet", u"1..2", u"$$A1", u"@", u"Nowhere!A1", u"'No where'!#REF!"})
        EXPECT_THROW(parse(bad, kSheets), EngineError) << std::string(bad.begin(), bad.end());
    EXPECT_THROW(parse(std::u16string(5000, u'(') + u"1" + std::u16string(5000, u')'), kSheets), EngineError);
    EXPECT_THROW(parse(std::u16string(5000, u'-') + u"1", kSheets), EngineError);
    // A call counts its arguments in a byte.
    std::u16string many = u"foo(1";
    for (int i = 0; i < 255; ++i)
        many += u",1";
    EXPECT_THROW(parse(many + u")", kSheets), EngineError);
}

// A comma inside parentheses joins references, a space intersects them and ":" spans them, binding
// tighter than any other operator; none of them takes a value.
TEST(ParsePrint, ReferenceOperatorsJoinReferencesOnly) {
    for (std::u16string_view text : {u"SUM((A1,B2:C3))", u"Sheet2!$A:$A,Sheet2!$1:$1", u"SUM(A1:B2 B1:C3)",
                                     u"INDEX(A1:B2,1,1):C3", u"A1:B2:C3", u"(A1,B1,C1) B:B", u"someName C1"})
        EXPECT_EQ(roundTrip(text), text);
    EXPECT_EQ(postfix(u"-A1 B1"), "other other isect neg");
    EXPECT_EQ(postfix(u"(A1,B1 C1:D2)"), "other other other isect union ()");
    EXPECT_EQ(postfix(u"SUM((A1,B1),C1)"), "other other union () other call2");
    EXPECT_EQ(postfix(u"A1:OFFSET(A1,1,1)"), "other other 1 1 call3 range");
    // Two cells of one sheet are the area they span, written as a file stores it.
    EXPECT_EQ(postfix(u"Sheet2!A1:Sheet2!B2"), "other");
    EXPECT_EQ(roundTrip(u"Sheet2!A1:Sheet2!B2"), u"Sheet2!A1:B2");
    for (std::u16string_view bad : {u"(1,2)", u"(A1,1)", u"A1:1", u"A1 \"x\"", u"SUM(A1:(1))", u"(A1+1,B1)"})
        EXPECT_THROW(parse(bad, kSheets), EngineError) << std::string(bad.begin(), bad.end());
}

// Whatever text comes in, the parser either refuses it or gives a formula whose text reads back the same.
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
            std::u16string printed = roundTrip(text);
            EXPECT_EQ(roundTrip(printed), printed) << round;
            ++accepted;
        } catch (const EngineError&) {
        }
    }
    EXPECT_GT(accepted, 100);
}

TEST(ParsePrint, ReferencesToARemovedSheetReadAsRefErrors) {
    Program p = parse(u"Sheet2!A1+Sheet2!#REF!+SUM(Sheet2!B:B)", kSheets);
    SheetNames removed{kSheets.find, [](SheetId) -> std::optional<std::u16string> {
                           return std::nullopt;
                       }};
    EXPECT_EQ(print(p, removed), u"#REF!+#REF!+SUM(#REF!)");
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
