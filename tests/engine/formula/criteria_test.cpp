#include "engine/formula/criteria.h"

#include <gtest/gtest.h>
#include <optional>

namespace engine::formula {
namespace {

bool match(const Value& criterion, const Value& cell) {
    return Criterion(criterion).matches(cell);
}
Value t(std::u16string s) {
    return Value::text(std::move(s));
}
Value n(double x) {
    return Value::number(x);
}

TEST(Criteria, TextEqualityDisregardsCaseAndMatchesOnlyTexts) {
    EXPECT_TRUE(match(t(u"Apple"), t(u"aPPLE")));
    EXPECT_TRUE(match(t(u"=杂志"), t(u"杂志")));
    EXPECT_FALSE(match(t(u"杂志"), t(u"2026年度杂志"))); // whole text, not a part
    EXPECT_FALSE(match(t(u"报"), t(u"报纸")));           // a kind that is a prefix of another
    EXPECT_FALSE(match(t(u"abc"), Value()));
    EXPECT_FALSE(match(t(u"1a"), n(1)));
}

TEST(Criteria, WildcardsAndTheirEscape) {
    EXPECT_TRUE(match(t(u"报*"), t(u"报纸")));
    EXPECT_TRUE(match(t(u"*杂志"), t(u"2026年度杂志")));
    EXPECT_TRUE(match(t(u"a?c"), t(u"ABC")));
    EXPECT_FALSE(match(t(u"a?c"), t(u"ac")));
    EXPECT_TRUE(match(t(u"*"), t(u"")));
    EXPECT_FALSE(match(t(u"*"), Value())); // an empty cell is no text
    EXPECT_TRUE(match(t(u"a~*"), t(u"a*")));
    EXPECT_FALSE(match(t(u"a~*"), t(u"ab")));
    EXPECT_TRUE(match(t(u"~?"), t(u"?")));
    EXPECT_TRUE(match(t(u"<>a*"), t(u"bcd")));
    EXPECT_FALSE(match(t(u"<>a*"), t(u"Abc")));
    EXPECT_TRUE(match(t(u"<>a*"), Value()));
    EXPECT_TRUE(WildcardPattern(u"*b*b", false).matches(u"abcbxb"));
}

TEST(Criteria, AnEscapedWildcardOrTildeMatchesOnlyItsOwnCharacter) {
    struct Case {
        std::u16string_view criterion, literal;
    };
    for (const Case& c : {Case{u"C~?", u"C?"}, Case{u"C~*", u"C*"}, Case{u"C~~", u"C~"}}) {
        SCOPED_TRACE(std::string(c.criterion.begin(), c.criterion.end()));
        EXPECT_TRUE(match(t(std::u16string(c.criterion)), t(std::u16string(c.literal))));
        for (std::u16string_view other : {u"CD", u"C", u"C?D", u"C*D", u"C~D", u"~?"})
            EXPECT_EQ(match(t(std::u16string(c.criterion)), t(std::u16string(other))), other == c.literal)
                << std::string(other.begin(), other.end());
        // Behind a * the escape holds as well, where the matcher has to try several places.
        const std::u16string open = std::u16string(u"*").append(c.criterion);
        EXPECT_TRUE(match(t(open), t(std::u16string(u"xx").append(c.literal))));
        EXPECT_FALSE(match(t(open), t(u"xxCD")));
        EXPECT_FALSE(WildcardPattern(open, false).matches(u"CDCD"));
    }
}

TEST(Criteria, APreparedPatternCountsOnlyWhatATextMustHold) {
    // Escaped wildcards and a lone ~ are one character each; ? one more; * none.
    WildcardPattern escaped(u"a~*?~~x~", false);
    EXPECT_EQ(escaped.literals(), u"a*~x~");
    EXPECT_TRUE(escaped.matches(u"A*b~X~"));
    EXPECT_FALSE(escaped.matches(u"A*b~X"));
    EXPECT_FALSE(escaped.matches(u"A*b~X~~"));
    WildcardPattern open(u"*新华?*", false);
    EXPECT_TRUE(open.matches(u"新华书店"));
    EXPECT_FALSE(open.matches(u"新华"));
    EXPECT_TRUE(WildcardPattern(u"**", false).matches(u""));
    WildcardPattern cased(u"Ab*", true);
    EXPECT_EQ(cased.literals(), u"Ab");
    EXPECT_TRUE(cased.matches(u"Abc"));
    EXPECT_FALSE(cased.matches(u"abc"));
    EXPECT_EQ(WildcardPattern(u"Ab*", false).literals(), u"ab");
}

TEST(Criteria, NumbersMatchNumbersAndNumericText) {
    EXPECT_TRUE(match(n(5), n(5)));
    EXPECT_TRUE(match(t(u"5"), n(5)));
    EXPECT_TRUE(match(n(5), t(u"5")));
    EXPECT_FALSE(match(n(5), n(6)));
    EXPECT_TRUE(match(t(u">=2025"), n(2026)));
    EXPECT_FALSE(match(t(u">=2025"), t(u"2026年度杂志")));
    EXPECT_TRUE(match(t(u"<1"), n(0.5)));
    EXPECT_FALSE(match(t(u"<1"), Value())); // empty cells are not 0 for a criterion
    EXPECT_TRUE(match(t(u"<>5"), t(u"x")));
}

// Only "=" and "<>" read * and ? as wildcards; an ordering compares them as the characters they are.
// The counts are LibreOffice's in its Excel-compatible wildcard mode, over a, b, bz, c and b*.
TEST(Criteria, OrderingsTakeWildcardCharactersLiterally) {
    struct Case {
        std::u16string_view criterion;
        int count;
    };
    for (const Case& c :
         {Case{u"<b*", 2}, Case{u">=b*", 3}, Case{u">a*", 4}, Case{u"=b*", 3}, Case{u"<>b*", 2}}) {
        int count = 0;
        for (std::u16string_view cell : {u"a", u"b", u"bz", u"c", u"b*"})
            count += match(t(std::u16string(c.criterion)), t(std::u16string(cell)));
        EXPECT_EQ(count, c.count) << std::string(c.criterion.begin(), c.criterion.end());
    }
}

// A criterion orders only cells of its own kind: a number, a text or a boolean of another kind is
// never smaller or greater.
TEST(Criteria, EveryOperatorOnEqualSmallerAndGreaterCellsOfItsKind) {
    struct Operator {
        std::u16string_view text;
        bool less, equal, greater; // for a cell below, equal to and above the criterion's value
    };
    const Operator operators[] = {
        {u"=", false, true, false}, {u"<>", true, false, true}, {u"<", true, false, false},
        {u"<=", true, true, false}, {u">", false, false, true}, {u">=", false, true, true},
    };
    struct Kind {
        std::u16string_view value;
        std::optional<Value> below; // none where nothing of the kind lies below
        Value equal;
        std::optional<Value> above;
        Value otherKind;
    };
    const Kind kinds[] = {
        {u"2", n(1.5), n(2), n(10), t(u"a")},
        {u"b", t(u"A"), t(u"B"), t(u"ba"), n(5)},
        {u"TRUE", Value::boolean(false), Value::boolean(true), std::nullopt, n(1)},
        {u"FALSE", std::nullopt, Value::boolean(false), Value::boolean(true), t(u"z")},
    };
    for (const Kind& k : kinds)
        for (const Operator& op : operators) {
            const std::u16string criterion = std::u16string(op.text) + std::u16string(k.value);
            SCOPED_TRACE(std::string(criterion.begin(), criterion.end()));
            if (k.below) {
                EXPECT_EQ(match(t(criterion), *k.below), op.less);
            }
            EXPECT_EQ(match(t(criterion), k.equal), op.equal);
            if (k.above) {
                EXPECT_EQ(match(t(criterion), *k.above), op.greater);
            }
            EXPECT_EQ(match(t(criterion), k.otherKind), op.text == u"<>");
        }
}

TEST(Criteria, EmptyCriterionCountsEmptyCells) {
    EXPECT_TRUE(match(t(u""), Value()));
    EXPECT_TRUE(match(t(u""), t(u"")));
    EXPECT_FALSE(match(t(u""), n(0)));
    EXPECT_TRUE(match(t(u"="), Value()));
    EXPECT_FALSE(match(t(u"="), t(u""))); // "=" asks for cells with nothing in them
    // An empty cell as the criterion stands for 0.
    EXPECT_TRUE(match(Value(), n(0)));
    EXPECT_FALSE(match(Value(), Value()));
    EXPECT_TRUE(match(t(u"<>"), n(0)));
    EXPECT_FALSE(match(t(u"<>"), Value()));
}

TEST(Criteria, BooleansAndErrors) {
    EXPECT_TRUE(match(t(u"true"), Value::boolean(true)));
    EXPECT_FALSE(match(t(u"TRUE"), t(u"TRUE"))); // "TRUE" asks for booleans
    EXPECT_TRUE(match(t(u"#N/A"), Value::error(ErrorCode::NA)));
    EXPECT_FALSE(match(Value::boolean(true), n(1)));
}

} // namespace
} // namespace engine::formula
