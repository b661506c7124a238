#include "engine/formula/criteria.h"

#include "engine/core/text.h"
#include "engine/formula/operands.h"

#include <vector>

namespace engine::formula {
namespace {

bool hasWildcards(std::u16string_view s) {
    return s.find_first_of(u"*?~") != std::u16string_view::npos;
}

// Compares a folded pattern with a text, folding the text as it goes.
bool matchFolded(std::u16string_view p, std::u16string_view t, bool fold) {
    auto same = [fold](char16_t pc, char16_t tc) {
        return pc == (fold ? foldChar(tc) : tc);
    };
    std::size_t pi = 0, ti = 0;
    std::size_t starP = std::u16string_view::npos, starT = 0;
    while (ti < t.size()) {
        if (pi < p.size() && p[pi] == u'*') {
            starP = ++pi;
            starT = ti;
            continue;
        }
        if (pi < p.size()) {
            char16_t pc = p[pi];
            bool literal = pc == u'~' && pi + 1 < p.size();
            if (literal)
                pc = p[pi + 1];
            if ((!literal && pc == u'?') || same(pc, t[ti])) {
                pi += literal ? 2 : 1;
                ++ti;
                continue;
            }
        }
        if (starP == std::u16string_view::npos)
            return false;
        pi = starP;
        ti = ++starT;
    }
    while (pi < p.size() && p[pi] == u'*')
        ++pi;
    return pi == p.size();
}

} // namespace

WildcardPattern::WildcardPattern(std::u16string_view pattern, bool matchCase)
    : pattern_(matchCase ? std::u16string(pattern) : foldCase(pattern)), fold_(!matchCase) {
    // Read as matchFolded reads it: ~ takes the character after it as it is; a ~ at the end is itself.
    for (std::size_t i = 0; i < pattern_.size(); ++i) {
        char16_t c = pattern_[i];
        if (c == u'*') {
            open_ = true;
            continue;
        }
        ++least_;
        if (c == u'?')
            continue;
        if (c == u'~' && i + 1 < pattern_.size())
            c = pattern_[++i];
        literals_ += c;
    }
}

bool WildcardPattern::matches(std::u16string_view text) const {
    if (text.size() < least_ || (!open_ && text.size() != least_))
        return false;
    return matchFolded(pattern_, text, fold_);
}

Criterion::Criterion(const Value& c) {
    switch (c.kind()) {
    case Value::Kind::Empty:
        // An empty cell given as the criterion stands for 0.
        kind_ = Kind::Number;
        return;
    case Value::Kind::Number:
        kind_ = Kind::Number;
        number_ = c.asNumber();
        return;
    case Value::Kind::Boolean:
        kind_ = Kind::Boolean;
        boolean_ = c.asBoolean();
        return;
    case Value::Kind::Error:
        kind_ = Kind::Error;
        error_ = c.asError();
        return;
    case Value::Kind::Text:
        break;
    }
    std::u16string_view s = c.asText();
    static constexpr std::pair<std::u16string_view, Op> kOps[] = {
        {u"<>", Op::NotEqual}, {u"<=", Op::LessEqual}, {u">=", Op::GreaterEqual},
        {u"=", Op::Equal},     {u"<", Op::Less},       {u">", Op::Greater}};
    for (const auto& [text, op] : kOps) {
        if (s.substr(0, text.size()) == text) {
            op_ = op;
            s.remove_prefix(text.size());
            break;
        }
    }
    if (s.empty()) {
        kind_ = Kind::Blank;
        onlyEmpty_ = s.size() != c.asText().size();
        return;
    }
    if (auto n = readNumber(s)) {
        kind_ = Kind::Number;
        number_ = *n;
    } else if (compareFolded(s, u"TRUE") == 0 || compareFolded(s, u"FALSE") == 0) {
        kind_ = Kind::Boolean;
        boolean_ = compareFolded(s, u"TRUE") == 0;
    } else if (auto e = parseErrorText(s)) {
        kind_ = Kind::Error;
        error_ = *e;
    } else {
        kind_ = Kind::Text;
        text_ = foldCase(s);
        wildcards_ = (op_ == Op::Equal || op_ == Op::NotEqual) && hasWildcards(text_);
    }
}

bool Criterion::matches(const ValueView& cell) const {
    using K = Value::Kind;
    if (kind_ == Kind::Text && op_ == Op::Equal && !wildcards_) {
        // The common case, a name looked up in a column: folding keeps a text's length.
        return cell.kind == K::Text && cell.text.size() == text_.size() &&
               compareFolded(cell.text, text_) == 0;
    }
    bool blankCell = cell.kind == K::Empty || (cell.kind == K::Text && cell.text.empty());
    if (kind_ == Kind::Blank) {
        // An empty criterion: empty cells and empty texts; "=": empty cells only; "<>": anything else.
        if (op_ == Op::NotEqual)
            return cell.kind != K::Empty;
        return op_ == Op::Equal && (onlyEmpty_ ? cell.kind == K::Empty : blankCell);
    }
    bool equalKind = false;
    int order = 0; // the cell compared with the criterion, when of the same kind
    switch (kind_) {
    case Kind::Number:
        if (cell.kind == K::Number) {
            equalKind = true;
            order = cell.number < number_ ? -1 : (cell.number > number_ ? 1 : 0);
        } else if (cell.kind == K::Text && (op_ == Op::Equal || op_ == Op::NotEqual)) {
            auto n = readNumber(cell.text);
            equalKind = n.has_value();
            order = n && *n == number_ ? 0 : 1;
        }
        break;
    case Kind::Text:
        if (cell.kind == K::Text) {
            equalKind = true;
            if (wildcards_)
                order = matchFolded(text_, cell.text, true) ? 0 : 1;
            else
                order = compareFolded(cell.text, text_);
        }
        break;
    case Kind::Boolean:
        if (cell.kind == K::Boolean) {
            equalKind = true;
            order = static_cast<int>(cell.boolean) - static_cast<int>(boolean_);
        }
        break;
    case Kind::Error:
        if (cell.kind == K::Error) {
            equalKind = true;
            order = cell.error == error_ ? 0 : 1;
        }
        break;
    case Kind::Blank:
        break;
    }
    switch (op_) {
    case Op::Equal:
        return equalKind && order == 0;
    case Op::NotEqual:
        return !(equalKind && order == 0);
    case Op::Less:
        return equalKind && order < 0;
    case Op::LessEqual:
        return equalKind && order <= 0;
    case Op::Greater:
        return equalKind && order > 0;
    case Op::GreaterEqual:
        return equalKind && order >= 0;
    }
    return false;
}

ExactMatch::ExactMatch(const Value& sought) : sought_(sought) {
    if (sought.isText())
        pattern_.emplace(sought.asText(), false);
}

bool ExactMatch::matches(const Value& cell) const {
    if (pattern_)
        return cell.isText() && pattern_->matches(cell.asText());
    return cell.kind() == sought_.kind() && !cell.isEmpty() && !cell.isError() &&
           compareValues(cell, sought_) == 0;
}

} // namespace engine::formula
