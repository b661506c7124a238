#pragma once

#include "engine/core/value.h"

#include <optional>
#include <string>
#include <string_view>

namespace engine::formula {

// A COUNTIF/SUMIF criterion: equality by default, or a leading = <> < > <= >=; text compared without
// regard to case, with wildcards * and ? (~ escapes them) for = and <>; a criterion that reads as a
// number compares with numbers (and with texts that read as that number); an empty criterion matches
// empty cells and formulas that give empty text, "=" alone empty cells only, and an empty cell given
// as the criterion stands for 0. Reused wherever the engine matches cells against
// what a user typed (advanced filter, Find).
class Criterion {
public:
    explicit Criterion(const Value& criterion);
    bool matches(const ValueView& cell) const;

private:
    enum class Op { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };
    enum class Kind { Blank, Number, Text, Boolean, Error };
    Op op_ = Op::Equal;
    Kind kind_ = Kind::Blank;
    double number_ = 0;
    bool boolean_ = false;
    ErrorCode error_ = ErrorCode::NA;
    std::u16string text_; // folded to one case
    bool wildcards_ = false;
    bool onlyEmpty_ = false; // "=" with nothing after it
};

// A wildcard pattern that a text matches as a whole: * any run, ? any one character, ~ takes the next
// character literally (a wildcard, a ~ or any other). Without regard to case unless `matchCase`. Prepared
// once for matching many texts: folded once, and knowing how long a matching text can be, so that texts of
// another length are turned down without a look inside.
class WildcardPattern {
public:
    WildcardPattern(std::u16string_view pattern, bool matchCase);
    bool matches(std::u16string_view text) const;
    // The characters every matching text holds as they are (folded unless case matters), in order.
    const std::u16string& literals() const { return literals_; }

private:
    std::u16string pattern_;
    std::u16string literals_;
    std::size_t least_ = 0; // characters of the shortest matching text
    bool open_ = false;     // a * lets matching texts be longer
    bool fold_ = true;
};

// The value MATCH, VLOOKUP and HLOOKUP look for exactly: a cell of its own kind equal to it, a text
// without regard to case and with the wildcards and ~ of a criterion. Unlike a criterion it has no
// operators, and a number never matches a text that reads as it.
class ExactMatch {
public:
    explicit ExactMatch(const Value& sought);
    bool matches(const Value& cell) const;

private:
    Value sought_;
    std::optional<WildcardPattern> pattern_;
};

} // namespace engine::formula
