#include "engine/core/number_format.h"

#include "engine/core/date_names.h"
#include "engine/core/number_format_parts.h"
#include "engine/core/text.h"

#include <array>
#include <cmath>
#include <unordered_map>

namespace engine {

using detail::CompiledFormat;
using detail::Section;
using detail::Tok;
using detail::Token;

namespace detail {

bool Condition::holds(double x) const {
    switch (op) {
    case Comparison::Less:
        return x < value;
    case Comparison::LessEqual:
        return x <= value;
    case Comparison::Greater:
        return x > value;
    case Comparison::GreaterEqual:
        return x >= value;
    case Comparison::Equal:
        return x == value;
    case Comparison::NotEqual:
        return x != value;
    }
    return false;
}

} // namespace detail

namespace {

char16_t lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

bool startsWithFolded(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lower(text[i]) != lower(prefix[i]))
            return false;
    return true;
}

// The eight colours a section may name, as palette indexes.
constexpr std::array<std::pair<std::u16string_view, int>, 8> kColours = {{
    {u"black", 1},
    {u"white", 2},
    {u"red", 3},
    {u"green", 4},
    {u"blue", 5},
    {u"yellow", 6},
    {u"magenta", 7},
    {u"cyan", 8},
}};

std::string localeOf(std::u16string_view hex) {
    std::uint32_t lcid = 0;
    for (char16_t c : hex) {
        int d = c >= u'0' && c <= u'9'                 ? c - u'0'
                : lower(c) >= u'a' && lower(c) <= u'f' ? lower(c) - u'a' + 10
                                                       : -1;
        if (d < 0)
            break;
        lcid = lcid << 4 | std::uint32_t(d);
    }
    lcid &= 0xFFFF; // the higher bits choose calendars and digits
    if (lcid == 0)
        return {};
    return detail::localeOfLcid(lcid);
}

// A bracketed part: false when it is none the format language knows.
bool readBracket(std::u16string_view inside, Section& section) {
    if (inside.empty())
        return false;
    for (auto [name, index] : kColours)
        if (inside.size() == name.size() && startsWithFolded(inside, name)) {
            section.colorIndex = index;
            return true;
        }
    if (startsWithFolded(inside, u"color")) {
        int n = 0;
        std::u16string_view digits = inside.substr(5);
        if (digits.empty() || digits.size() > 2)
            return false;
        for (char16_t c : digits) {
            if (c < u'0' || c > u'9')
                return false;
            n = n * 10 + (c - u'0');
        }
        if (n < 1 || n > 56)
            return false;
        section.colorIndex = n;
        return true;
    }
    if (inside[0] == u'<' || inside[0] == u'>' || inside[0] == u'=') {
        using detail::Comparison;
        std::size_t k = 1;
        Comparison op = inside[0] == u'='   ? Comparison::Equal
                        : inside[0] == u'<' ? Comparison::Less
                                            : Comparison::Greater;
        if (k < inside.size() && inside[k] == u'=' && inside[0] != u'=') {
            op = inside[0] == u'<' ? Comparison::LessEqual : Comparison::GreaterEqual;
            ++k;
        } else if (k < inside.size() && inside[0] == u'<' && inside[k] == u'>') {
            op = Comparison::NotEqual;
            ++k;
        }
        auto value = readNumber(inside.substr(k));
        if (!value)
            return false;
        section.condition = detail::Condition{op, *value};
        return true;
    }
    if (inside[0] == u'$') {
        std::u16string_view rest = inside.substr(1);
        std::size_t dash = rest.find(u'-');
        std::u16string_view currency = rest.substr(0, dash);
        if (!currency.empty())
            section.tokens.push_back({Tok::Literal, std::u16string(currency)});
        if (dash != std::u16string_view::npos)
            section.locale = localeOf(rest.substr(dash + 1));
        return true;
    }
    char16_t first = lower(inside[0]);
    if (first == u'h' || first == u'm' || first == u's') {
        for (char16_t c : inside)
            if (lower(c) != first)
                return false;
        section.tokens.push_back({Tok::Elapsed, std::u16string(1, first), int(inside.size())});
        return true;
    }
    // Number systems and calendars change nothing this program shows.
    return startsWithFolded(inside, u"dbnum") || startsWithFolded(inside, u"natnum");
}

int runOf(std::u16string_view code, std::size_t i) {
    std::size_t j = i;
    while (j < code.size() && lower(code[j]) == lower(code[i]))
        ++j;
    return int(j - i);
}

// One section's tokens; false when the section is not well formed.
bool readSection(std::u16string_view code, Section& section) {
    auto literal = [&](std::u16string text) {
        if (!section.tokens.empty() && section.tokens.back().kind == Tok::Literal)
            section.tokens.back().text += text;
        else
            section.tokens.push_back({Tok::Literal, std::move(text)});
    };
    auto add = [&](Tok kind, std::u16string_view text, int count = 0) {
        section.tokens.push_back({kind, std::u16string(text), count});
    };
    for (std::size_t i = 0; i < code.size();) {
        char16_t c = code[i];
        char16_t l = lower(c);
        std::u16string_view rest = code.substr(i);
        if (c == u'"') {
            std::size_t end = code.find(u'"', i + 1);
            if (end == std::u16string_view::npos)
                return false;
            literal(std::u16string(code.substr(i + 1, end - i - 1)));
            i = end + 1;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            if (i + 1 < code.size()) {
                // "_x" leaves the room of an x; "*x" repeats x across the cell, which text cannot.
                if (c == u'\\')
                    literal(std::u16string(1, code[i + 1]));
                else if (c == u'_')
                    literal(u" ");
            }
            i += 2;
        } else if (c == u'[') {
            std::size_t end = code.find(u']', i + 1);
            if (end == std::u16string_view::npos || !readBracket(code.substr(i + 1, end - i - 1), section))
                return false;
            i = end + 1;
        } else if (startsWithFolded(rest, u"general")) {
            add(Tok::General, rest.substr(0, 7));
            i += 7;
        } else if (c == u'@') {
            add(Tok::Text, u"@");
            section.isText = true;
            ++i;
        } else if (c == u'0' || c == u'#' || c == u'?') {
            add(Tok::Digit, rest.substr(0, 1));
            ++i;
        } else if (c == u'.') {
            add(Tok::Point, u".");
            ++i;
        } else if (c == u',') {
            add(Tok::Comma, u",");
            ++i;
        } else if (c == u'%') {
            add(Tok::Percent, u"%");
            ++i;
        } else if (l == u'e' && i + 1 < code.size() && (code[i + 1] == u'+' || code[i + 1] == u'-')) {
            add(Tok::Exponent, rest.substr(0, 2), code[i + 1] == u'+' ? 1 : 0);
            i += 2;
        } else if (c == u'/') {
            add(Tok::Slash, u"/");
            ++i;
        } else if (startsWithFolded(rest, u"am/pm") || startsWithFolded(rest, u"a/p")) {
            std::size_t n = startsWithFolded(rest, u"am/pm") ? 5 : 3;
            add(Tok::AmPm, rest.substr(0, n));
            section.twelveHour = true;
            i += n;
        } else if (rest.substr(0, 5) == u"上午/下午") {
            add(Tok::AmPm, rest.substr(0, 5));
            section.twelveHour = true;
            i += 5;
        } else if (l == u'y' || l == u'm' || l == u'd' || l == u'h' || l == u's') {
            int n = runOf(code, i);
            Tok kind = l == u'y'   ? Tok::Year
                       : l == u'm' ? Tok::Month
                       : l == u'd' ? Tok::Day
                       : l == u'h' ? Tok::Hour
                                   : Tok::Second;
            add(kind, rest.substr(0, std::size_t(n)), n);
            i += std::size_t(n);
        } else if (l == u'a' && runOf(code, i) >= 3) {
            int n = runOf(code, i);
            add(Tok::Weekday, rest.substr(0, std::size_t(n)), n);
            i += std::size_t(n);
        } else {
            literal(std::u16string(1, c));
            ++i;
        }
    }
    for (const Token& t : section.tokens)
        if (t.kind >= Tok::Year)
            section.isDate = true;
    if (section.isDate) {
        detail::prepareDateSection(section);
        return true;
    }
    if (!section.isText)
        detail::prepareNumberSection(section);
    return true;
}

std::optional<CompiledFormat> compile(std::u16string_view code) {
    CompiledFormat f;
    if (isGeneralCode(code)) {
        f.general = true;
        return f;
    }
    std::size_t start = 0;
    bool quoted = false, bracket = false, escaped = false;
    for (std::size_t i = 0; i <= code.size(); ++i) {
        char16_t c = i < code.size() ? code[i] : u';';
        if (escaped) {
            escaped = false;
            continue;
        }
        if (quoted) {
            quoted = c != u'"';
            if (i == code.size())
                return std::nullopt;
            continue;
        }
        if (c == u'\\' || c == u'_' || c == u'*')
            escaped = i < code.size();
        else if (c == u'"')
            quoted = true;
        else if (c == u'[')
            bracket = true;
        else if (c == u']')
            bracket = false;
        else if (c == u';' && bracket && i == code.size())
            return std::nullopt;
        else if (c == u';' && !bracket) {
            if (f.sections.size() == 4)
                return std::nullopt;
            Section& s = f.sections.emplace_back();
            if (!readSection(code.substr(start, i - start), s))
                return std::nullopt;
            start = i + 1;
        }
    }
    return f;
}

ShownValue general(double x) {
    return {formatNumber(x), 0};
}

// The text section: the fourth, or the one that shows the text ("@"); nothing when there is none.
const Section* textSection(const CompiledFormat& f) {
    if (f.sections.size() == 4)
        return &f.sections[3];
    for (const Section& s : f.sections)
        if (s.isText)
            return &s;
    return nullptr;
}

ShownValue showNumber(const CompiledFormat& f, double x, DateSystem system) {
    std::vector<const Section*> numeric;
    const Section* text = textSection(f);
    for (const Section& s : f.sections)
        if (&s != text && !s.isText && numeric.size() < 3)
            numeric.push_back(&s);
    if (numeric.empty())
        return general(x);

    const Section* chosen = nullptr;
    bool conditional = numeric[0]->condition || (numeric.size() > 1 && numeric[1]->condition);
    if (conditional) {
        for (std::size_t i = 0; i < numeric.size() && !chosen; ++i)
            if (!numeric[i]->condition || numeric[i]->condition->holds(x))
                chosen = numeric[i];
        if (!chosen)
            return {u"#", 0};
    } else if (numeric.size() == 1 || x > 0 || (x == 0 && numeric.size() == 2)) {
        chosen = numeric[0];
    } else {
        chosen = x < 0 ? numeric[1] : numeric[2];
    }
    // A section of its own for negative numbers writes their sign itself, if at all.
    bool signed_ = numeric.size() == 1 && x < 0;
    double magnitude = std::fabs(x);
    if (chosen->isDate) {
        if (x < 0 || x >= lastSerial(system) + 1)
            return {u"########", chosen->colorIndex};
        return {detail::layOutDate(*chosen, magnitude, system), chosen->colorIndex};
    }
    detail::LaidOut out = detail::layOutNumber(*chosen, magnitude);
    if (signed_ && out.nonZero)
        out.text.insert(out.text.begin(), u'-');
    return {std::move(out.text), chosen->colorIndex};
}

ShownValue showText(const CompiledFormat& f, const std::u16string& text) {
    const Section* section = textSection(f);
    if (!section)
        return {text, 0};
    std::u16string out;
    for (const Token& t : section->tokens)
        out += t.kind == Tok::Text ? text : t.text;
    return {std::move(out), section->colorIndex};
}

} // namespace

bool isGeneralCode(std::u16string_view code) {
    return code.empty() || (code.size() == 7 && startsWithFolded(code, u"general"));
}

NumberFormat::NumberFormat() {
    static const auto generalFormat = [] {
        auto f = std::make_shared<CompiledFormat>();
        f->general = true;
        return f;
    }();
    compiled_ = generalFormat;
}

NumberFormat::NumberFormat(std::shared_ptr<const CompiledFormat> compiled) : compiled_(std::move(compiled)) {}

std::optional<NumberFormat> NumberFormat::parse(std::u16string_view code) {
    auto f = compile(code);
    if (!f)
        return std::nullopt;
    return NumberFormat(std::make_shared<const CompiledFormat>(std::move(*f)));
}

bool NumberFormat::isGeneral() const {
    return compiled_->general;
}

ShownValue NumberFormat::show(const Value& value, DateSystem system) const {
    switch (value.kind()) {
    case Value::Kind::Empty:
        return {};
    case Value::Kind::Boolean:
        return {value.asBoolean() ? u"TRUE" : u"FALSE", 0};
    case Value::Kind::Error:
        return {std::u16string(errorText(value.asError())), 0};
    case Value::Kind::Text:
        return compiled_->general ? ShownValue{value.asText(), 0} : showText(*compiled_, value.asText());
    case Value::Kind::Number:
        return compiled_->general ? general(value.asNumber())
                                  : showNumber(*compiled_, value.asNumber(), system);
    }
    return {};
}

std::optional<NumberFormat> numberFormatOf(std::u16string_view code) {
    if (isGeneralCode(code))
        return NumberFormat();
    static std::unordered_map<std::u16string, std::optional<NumberFormat>> compiled;
    auto it = compiled.find(std::u16string(code));
    if (it == compiled.end())
        it = compiled.emplace(code, NumberFormat::parse(code)).first;
    return it->second;
}

ShownValue showValue(const Value& value, std::u16string_view code, DateSystem system) {
    return numberFormatOf(code).value_or(NumberFormat()).show(value, system);
}

} // namespace engine
