#include "engine/core/text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unicode/uchar.h>

namespace engine {
namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

std::optional<double> readNumber(std::u16string_view t) {
    std::size_t i = 0, end = t.size();
    while (i < end && t[i] == u' ')
        ++i;
    while (end > i && t[end - 1] == u' ')
        --end;
    bool percent = false;
    if (end > i && t[end - 1] == u'%') {
        percent = true;
        --end;
        while (end > i && t[end - 1] == u' ')
            --end;
    }
    std::string ascii;
    if (i < end && (t[i] == u'+' || t[i] == u'-')) {
        if (t[i] == u'-')
            ascii += '-';
        ++i;
    }
    // Integer part, with thousands separators only between complete groups of three.
    std::size_t digits = 0, group = 0;
    bool grouped = false;
    for (; i < end && (isDigit(t[i]) || t[i] == u','); ++i) {
        if (t[i] == u',') {
            if (digits == 0 || (grouped && group != 3) || (!grouped && group > 3))
                return std::nullopt;
            grouped = true;
            group = 0;
            continue;
        }
        ascii += static_cast<char>(t[i]);
        ++digits;
        ++group;
    }
    if (grouped && group != 3)
        return std::nullopt;
    std::size_t fraction = 0;
    if (i < end && t[i] == u'.') {
        ascii += '.';
        for (++i; i < end && isDigit(t[i]); ++i, ++fraction)
            ascii += static_cast<char>(t[i]);
    }
    if (digits == 0 && fraction == 0)
        return std::nullopt;
    if (i < end && (t[i] == u'e' || t[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < end && (t[i] == u'+' || t[i] == u'-'))
            ascii += static_cast<char>(t[i++]);
        std::size_t exponent = 0;
        for (; i < end && isDigit(t[i]); ++i, ++exponent)
            ascii += static_cast<char>(t[i]);
        if (exponent == 0)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;
    double n = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(n))
        return std::nullopt;
    return percent ? n / 100 : n;
}

std::u16string formatNumber(double n) {
    if (n == 0)
        return u"0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", n);
    std::u16string s;
    for (const char* p = buf; *p; ++p)
        s += static_cast<char16_t>(*p);
    return s;
}

char16_t foldChar(char16_t c) {
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    if (c >= 0x3000 && c < 0xA000) // CJK punctuation, kana and ideographs have no case
        return c;
    UChar32 f = u_foldCase(c, U_FOLD_CASE_DEFAULT);
    return f <= 0xFFFF ? static_cast<char16_t>(f) : c;
}

std::u16string foldCase(std::u16string_view text) {
    std::u16string s(text);
    for (char16_t& c : s)
        c = foldChar(c);
    return s;
}

int compareFolded(std::u16string_view a, std::u16string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        char16_t x = foldChar(a[i]), y = foldChar(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::u16string toText(const Value& v) {
    switch (v.kind()) {
    case Value::Kind::Number:
        return formatNumber(v.asNumber());
    case Value::Kind::Text:
        return v.asText();
    case Value::Kind::Boolean:
        return v.asBoolean() ? u"TRUE" : u"FALSE";
    case Value::Kind::Error:
        return std::u16string(errorText(v.asError()));
    case Value::Kind::Empty:
        break;
    }
    return {};
}

} // namespace engine
