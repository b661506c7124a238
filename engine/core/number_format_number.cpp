// Number sections: plain ("#,##0.00"), scientific ("0.00E+00") and fractions ("# ?/?"). decimal_digits
// rounds and gives the decimal digits; this file places them into the placeholders.
#include "engine/core/decimal_digits.h"
#include "engine/core/number_format_parts.h"
#include "engine/core/text.h"

#include <cmath>
#include <tuple>

namespace engine::detail {

namespace {

bool isDigitToken(const std::vector<Token>& t, std::size_t i) {
    return i < t.size() && t[i].kind == Tok::Digit;
}

void makeLiteral(Token& t) {
    t.kind = Tok::Literal;
    t.part = Part::None;
}

// "?/16": the denominator's digits after the slash, taken out of the tokens that hold them.
int takeFixedDenominator(std::vector<Token>& tokens, std::size_t at) {
    int value = 0;
    std::size_t i = at;
    bool started = false;
    while (i < tokens.size()) {
        Token& t = tokens[i];
        if (t.kind == Tok::Digit && t.text == u"0" && started) {
            value = value * 10;
            tokens.erase(tokens.begin() + std::ptrdiff_t(i));
            continue;
        }
        if (t.kind != Tok::Literal || t.text.empty() || t.text[0] < u'0' || t.text[0] > u'9' ||
            (!started && t.text[0] == u'0'))
            break;
        std::size_t n = 0;
        while (n < t.text.size() && t.text[n] >= u'0' && t.text[n] <= u'9' && value < 100000)
            value = value * 10 + (t.text[n++] - u'0');
        started = true;
        t.text.erase(0, n);
        if (!t.text.empty())
            break;
        tokens.erase(tokens.begin() + std::ptrdiff_t(i));
    }
    return value;
}

bool prepareFraction(Section& s) {
    auto& t = s.tokens;
    NumberLayout& n = s.number;
    std::size_t slash = 0;
    while (slash < t.size() && !(t[slash].kind == Tok::Slash && slash > 0 && isDigitToken(t, slash - 1)))
        ++slash;
    if (slash == t.size())
        return false;
    bool placeholders = isDigitToken(t, slash + 1);
    int fixed = placeholders ? 0 : takeFixedDenominator(t, slash + 1);
    if (!placeholders && fixed == 0)
        return false;
    n.fraction = true;
    n.fixedDenominator = fixed;
    t[slash].part = Part::Denominator;
    std::size_t first = slash;
    while (first > 0 && isDigitToken(t, first - 1))
        --first;
    for (std::size_t i = first; i < slash; ++i) {
        t[i].part = Part::Numerator;
        t[i].position = int(slash - 1 - i);
    }
    n.numeratorDigits = int(slash - first);
    for (std::size_t i = slash + 1; isDigitToken(t, i); ++i) {
        t[i].part = Part::Denominator;
        t[i].position = int(i - slash - 1);
        n.denominatorPlaceholders += t[i].text;
    }
    n.denominatorDigits = int(n.denominatorPlaceholders.size());
    int whole = 0;
    for (std::size_t i = 0; i < first; ++i)
        if (t[i].kind == Tok::Digit)
            ++whole;
    int position = whole;
    for (std::size_t i = 0; i < first; ++i)
        if (t[i].kind == Tok::Digit) {
            t[i].part = Part::Whole;
            t[i].position = --position;
        }
    n.wholePart = whole > 0;
    n.integerDigits = whole;
    for (Token& tok : t)
        if (tok.part == Part::None && tok.kind != Tok::Literal && tok.kind != Tok::General)
            makeLiteral(tok);
    return true;
}

} // namespace

void prepareNumberSection(Section& s) {
    auto& t = s.tokens;
    NumberLayout& n = s.number;
    if (prepareFraction(s))
        return;

    Part part = Part::Integer;
    bool sawDigit = false;
    int percents = 0, thousands = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        Token& tok = t[i];
        switch (tok.kind) {
        case Tok::Digit:
            tok.part = part;
            sawDigit = true;
            if (part == Part::Integer)
                ++n.integerDigits;
            else if (part == Part::Fraction)
                n.fractionPlaceholders += tok.text;
            break;
        case Tok::Point:
            if (part == Part::Integer) {
                tok.part = part = Part::Fraction;
            } else {
                makeLiteral(tok);
            }
            break;
        case Tok::Exponent:
            if (part != Part::Exponent && sawDigit) {
                tok.part = part = Part::Exponent;
                n.scientific = true;
            } else {
                makeLiteral(tok);
            }
            break;
        case Tok::Comma: {
            // Between placeholders a run of commas groups thousands; after the last one it divides.
            std::size_t j = i;
            while (j < t.size() && t[j].kind == Tok::Comma)
                ++j;
            if (!sawDigit || part == Part::Exponent) {
                for (std::size_t k = i; k < j; ++k)
                    makeLiteral(t[k]);
            } else if (isDigitToken(t, j)) {
                n.grouping = n.grouping || part == Part::Integer;
            } else {
                thousands += int(j - i);
            }
            i = j - 1;
            break;
        }
        case Tok::Percent:
            ++percents;
            break;
        case Tok::Slash:
            makeLiteral(tok);
            break;
        default:
            break;
        }
    }
    n.fractionDigits = int(n.fractionPlaceholders.size());
    n.powerOfTen = 2 * percents - 3 * thousands;
    int position = n.integerDigits;
    int exponentPosition = 0, fractionPosition = 0;
    for (Token& tok : t) {
        if (tok.kind != Tok::Digit)
            continue;
        if (tok.part == Part::Integer)
            tok.position = --position;
        else if (tok.part == Part::Fraction)
            tok.position = fractionPosition++;
        else
            tok.position = exponentPosition++;
        if (tok.part == Part::Integer && tok.text == u"#" && n.scientific)
            n.engineering = true;
    }
}

namespace {

// Places the integer digits `digits` (empty for zero) into the placeholders of `part`, thousands
// grouped when `grouping`.
class IntegerPlacer {
public:
    IntegerPlacer(std::u16string digits, int placeholders, bool grouping)
        : digits_(std::move(digits)), placeholders_(placeholders), grouping_(grouping) {}

    void place(const Token& t, std::u16string& out) const {
        int count = int(digits_.size());
        if (t.position == placeholders_ - 1)
            for (int j = 0; j < count - placeholders_; ++j)
                digit(digits_[std::size_t(j)], count - 1 - j, out);
        int at = count - 1 - t.position;
        if (at >= 0)
            digit(digits_[std::size_t(at)], t.position, out);
        else if (t.text == u"0")
            digit(u'0', t.position, out);
        else if (t.text == u"?")
            out += u' ';
    }
    // Digits for a section that has no placeholder before the point.
    void placeAll(std::u16string& out) const {
        for (std::size_t j = 0; j < digits_.size(); ++j)
            digit(digits_[j], int(digits_.size() - 1 - j), out);
    }

private:
    void digit(char16_t c, int position, std::u16string& out) const {
        out += c;
        if (grouping_ && position > 0 && position % 3 == 0)
            out += u',';
    }
    std::u16string digits_;
    int placeholders_;
    bool grouping_;
};

bool anyNonZero(std::u16string_view digits) {
    for (char16_t c : digits)
        if (c >= u'1' && c <= u'9')
            return true;
    return false;
}

std::u16string decimalDigits(long long n) {
    std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
}

// The fraction nearest to `x` whose denominator is at most `most`, by continued fractions.
std::pair<long long, long long> nearestFraction(double x, long long most) {
    long long p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double rest = x;
    for (int i = 0; i < 64; ++i) {
        double a = std::floor(rest);
        if (a > 1e15)
            break;
        auto ai = static_cast<long long>(a);
        long long p2 = ai * p1 + p0, q2 = ai * q1 + q0;
        if (q2 > most) {
            long long k = (most - q0) / q1;
            long long ps = p0 + k * p1, qs = q0 + k * q1;
            if (std::fabs(x - double(ps) / double(qs)) < std::fabs(x - double(p1) / double(q1)))
                return {ps, qs};
            return {p1, q1};
        }
        p0 = p1;
        q0 = q1;
        p1 = p2;
        q1 = q2;
        double f = rest - a;
        if (f < 1e-12)
            break;
        rest = 1 / f;
    }
    return {p1, q1};
}

LaidOut layOutFraction(const Section& s, double x) {
    const NumberLayout& n = s.number;
    double whole = n.wholePart ? std::floor(x) : 0;
    double rest = x - whole;
    long long num, den;
    if (n.fixedDenominator) {
        den = n.fixedDenominator;
        num = std::llround(rest * double(den));
    } else {
        long long most = 1;
        for (int i = 0; i < std::min(n.denominatorDigits, 9); ++i)
            most *= 10;
        std::tie(num, den) = nearestFraction(rest, most - 1);
    }
    if (n.wholePart && num == den) {
        whole += 1;
        num = 0;
    }
    bool vanishes = n.wholePart && num == 0;
    IntegerPlacer wholeDigits(whole == 0 ? std::u16string() : formatNumber(whole), n.integerDigits, false);
    IntegerPlacer numerator(vanishes ? std::u16string() : decimalDigits(num), n.numeratorDigits, false);
    std::u16string denominator = decimalDigits(den);

    LaidOut out;
    out.nonZero = whole != 0 || num != 0;
    for (const Token& t : s.tokens) {
        switch (t.part) {
        case Part::Whole:
            wholeDigits.place(t, out.text);
            break;
        case Part::Numerator:
            if (vanishes)
                out.text += t.text == u"#" ? u"" : u" ";
            else
                numerator.place(t, out.text);
            break;
        case Part::Denominator:
            if (t.kind == Tok::Slash) {
                out.text += vanishes ? u" " : u"/";
                if (n.fixedDenominator && !vanishes)
                    out.text += denominator;
            } else if (vanishes || std::size_t(t.position) >= denominator.size()) {
                out.text += t.text == u"#" ? u"" : t.text == u"0" && !vanishes ? u"0" : u" ";
            } else {
                out.text += denominator[std::size_t(t.position)];
                if (t.position == n.denominatorDigits - 1)
                    out.text += std::u16string_view(denominator).substr(std::size_t(t.position) + 1);
            }
            break;
        default:
            if (t.kind == Tok::General)
                out.text += formatNumber(x);
            else
                out.text += t.text;
        }
    }
    return out;
}

} // namespace

LaidOut layOutNumber(const Section& s, double x) {
    const NumberLayout& n = s.number;
    if (!std::isfinite(x))
        return {formatNumber(x), true};
    if (n.fraction)
        return layOutFraction(s, x);

    std::u16string rounded;
    std::u16string exponent;
    bool negativeExponent = false;
    if (n.scientific) {
        // Shortest digits and the exponent of the first one: "1.2345E3".
        std::u16string shortest = scientificDigits(x, n.powerOfTen);
        std::size_t e = shortest.find(u'E');
        std::u16string digits;
        for (std::size_t i = 0; i < e; ++i)
            if (shortest[i] != u'.')
                digits += shortest[i];
        int exp = 0;
        if (e != std::u16string::npos && !(digits == u"0")) {
            auto value = readNumber(std::u16string_view(shortest).substr(e + 1));
            exp = value ? int(*value) : 0;
        }
        int step = std::max(n.integerDigits, 1);
        for (int attempt = 0; attempt < 2; ++attempt) {
            int shown = n.engineering ? int(std::floor(double(exp) / step)) * step : exp - (step - 1);
            if (digits == u"0")
                shown = 0;
            int whole = exp - shown + 1;
            std::u16string mantissa = digits;
            if (std::size_t(whole) >= mantissa.size())
                mantissa.append(std::size_t(whole) - mantissa.size(), u'0');
            else
                mantissa.insert(std::size_t(whole), u".");
            std::string ascii(mantissa.begin(), mantissa.end());
            rounded = fixedDigits(ascii, n.fractionDigits);
            std::size_t point = rounded.find(u'.');
            int integerLength = int(point == std::u16string::npos ? rounded.size() : point);
            if (integerLength > std::max(whole, 1) && digits != u"0") {
                // Rounding carried into a new digit (9.99 to 10.0): the same again for 10^(exp+1).
                digits = u"1";
                ++exp;
                continue;
            }
            negativeExponent = shown < 0;
            exponent = decimalDigits(std::abs(shown));
            break;
        }
    } else {
        rounded = fixedDigits(x, n.fractionDigits, n.powerOfTen);
    }
    if (rounded.empty())
        return {formatNumber(x), true};

    std::size_t point = rounded.find(u'.');
    std::u16string integer = rounded.substr(0, point);
    std::u16string fraction = point == std::u16string::npos ? std::u16string() : rounded.substr(point + 1);
    if (integer == u"0")
        integer.clear();
    LaidOut out;
    out.nonZero = anyNonZero(integer) || anyNonZero(fraction);

    // Trailing zeros that "#" and "?" placeholders leave out.
    std::size_t kept = fraction.size();
    while (kept > 0 && fraction[kept - 1] == u'0' && n.fractionPlaceholders[kept - 1] != u'0')
        --kept;
    int exponentDigits = 0;
    for (const Token& t : s.tokens)
        if (t.part == Part::Exponent && t.kind == Tok::Digit)
            ++exponentDigits;
    if (int(exponent.size()) < exponentDigits)
        exponent.insert(0, std::size_t(exponentDigits) - exponent.size(), u'0');

    IntegerPlacer placer(std::move(integer), n.integerDigits, n.grouping);
    for (const Token& t : s.tokens) {
        switch (t.kind) {
        case Tok::Digit:
            if (t.part == Part::Integer) {
                placer.place(t, out.text);
            } else if (t.part == Part::Fraction) {
                std::size_t at = std::size_t(t.position);
                if (at < kept)
                    out.text += fraction[at];
                else if (t.text == u"?")
                    out.text += u' ';
            } else if (t.position == 0) {
                out.text += exponent;
            }
            break;
        case Tok::Point:
            if (n.integerDigits == 0)
                placer.placeAll(out.text);
            out.text += u'.';
            break;
        case Tok::Exponent:
            out.text += t.text[0];
            if (negativeExponent)
                out.text += u'-';
            else if (t.count == 1)
                out.text += u'+';
            break;
        case Tok::Comma:
            break;
        case Tok::General:
            out.text += formatNumber(x);
            out.nonZero = out.nonZero || x != 0;
            break;
        default:
            out.text += t.text;
        }
    }
    return out;
}

} // namespace engine::detail
