// The digits worked out here, without ICU: the shortest decimal form from the standard library's
// to_chars, then scaled and rounded on those decimal digits.
#include "engine/core/decimal_digits.h"

#include <charconv>

namespace engine::detail {

namespace {

// digits × 10^(point − digits.size()): no leading zeros; empty for zero.
struct Decimal {
    std::string digits;
    int point = 0;
};

Decimal shortest(double x) {
    char text[32];
    auto end = std::to_chars(text, text + sizeof text, x, std::chars_format::scientific).ptr;
    Decimal d;
    const char* p = text;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.')
            d.digits += *p;
    int exponent = 0;
    const char* digits = p + 1 < end && p[1] == '+' ? p + 2 : p + 1;
    std::from_chars(digits, end, exponent);
    d.point = exponent + 1;
    if (d.digits.find_first_not_of('0') == std::string::npos)
        d.digits.clear();
    return d;
}

Decimal parsed(std::string_view text) {
    Decimal d;
    std::size_t point = text.find('.');
    d.point = int(point == std::string_view::npos ? text.size() : point);
    for (char c : text)
        if (c != '.')
            d.digits += c;
    std::size_t first = d.digits.find_first_not_of('0');
    if (first == std::string::npos)
        return {};
    d.digits.erase(0, first);
    d.point -= int(first);
    return d;
}

// Rounds half away from zero to `fractionDigits` after the point.
void round(Decimal& d, int fractionDigits) {
    int keep = d.point + fractionDigits;
    if (d.digits.empty() || keep >= int(d.digits.size()))
        return;
    if (keep < 0) {
        d = {};
        return;
    }
    bool up = d.digits[std::size_t(keep)] >= '5';
    d.digits.resize(std::size_t(keep));
    if (!up)
        return;
    int i = keep - 1;
    for (; i >= 0 && d.digits[std::size_t(i)] == '9'; --i)
        d.digits[std::size_t(i)] = '0';
    if (i < 0) {
        d.digits.insert(0, 1, '1');
        ++d.point;
    } else {
        ++d.digits[std::size_t(i)];
    }
}

char16_t digitAt(const Decimal& d, int i) {
    return i >= 0 && i < int(d.digits.size()) ? char16_t(d.digits[std::size_t(i)]) : u'0';
}

std::u16string fixed(Decimal d, int fractionDigits) {
    round(d, fractionDigits);
    if (d.digits.empty())
        d.point = 0;
    std::u16string out;
    for (int i = 0; i < d.point; ++i)
        out += digitAt(d, i);
    if (out.empty())
        out = u"0";
    if (fractionDigits > 0)
        out += u'.';
    for (int i = 0; i < fractionDigits; ++i)
        out += digitAt(d, d.point + i);
    return out;
}

} // namespace

std::u16string fixedDigits(double x, int fractionDigits, int powerOfTen) {
    Decimal d = shortest(x);
    d.point += powerOfTen;
    return fixed(std::move(d), fractionDigits);
}

std::u16string fixedDigits(std::string_view decimal, int fractionDigits) {
    return fixed(parsed(decimal), fractionDigits);
}

std::u16string scientificDigits(double x, int powerOfTen) {
    Decimal d = shortest(x);
    if (d.digits.empty())
        return u"0E0";
    while (d.digits.back() == '0')
        d.digits.pop_back();
    std::u16string out(1, char16_t(d.digits[0]));
    if (d.digits.size() > 1) {
        out += u'.';
        out.append(d.digits.begin() + 1, d.digits.end());
    }
    std::string exponent = std::to_string(d.point - 1 + powerOfTen);
    out += u'E';
    out.append(exponent.begin(), exponent.end());
    return out;
}

} // namespace engine::detail
