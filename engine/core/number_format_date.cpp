// Date and time sections. The calendar is Excel's 1900 date system, which no library keeps (it has a
// 29 February 1900 and a day 0); the system's locale data gives the month and day names and the AM/PM
// markers of a locale.
#include "engine/core/date_names.h"
#include "engine/core/number_format_parts.h"

#include <cmath>

namespace engine::detail {

namespace {

bool isTimeOrDate(Tok k) {
    return k >= Tok::Year;
}

// The date and time tokens before and after `i`, skipping everything else.
const Token* neighbour(const std::vector<Token>& t, std::size_t i, int direction) {
    for (std::ptrdiff_t j = std::ptrdiff_t(i) + direction; j >= 0 && j < std::ptrdiff_t(t.size());
         j += direction)
        if (isTimeOrDate(t[std::size_t(j)].kind))
            return &t[std::size_t(j)];
    return nullptr;
}

bool isHours(const Token* t) {
    return t && (t->kind == Tok::Hour || (t->kind == Tok::Elapsed && t->text == u"h"));
}

bool isSeconds(const Token* t) {
    return t && (t->kind == Tok::Second || (t->kind == Tok::Elapsed && t->text == u"s"));
}

std::u16string padded(long long n, int width) {
    std::string s = std::to_string(n);
    if (int(s.size()) < width)
        s.insert(0, std::size_t(width) - s.size(), '0');
    return std::u16string(s.begin(), s.end());
}

struct CivilDate {
    int year, month, day; // month 1 to 12; day 0 for the serial 0
    int weekday;          // 0 Sunday
};

// The date of a serial day, as Excel counts them.
CivilDate civilDate(long long serial) {
    int weekday = int((serial + 6) % 7);
    if (serial == 0)
        return {1900, 1, 0, weekday};
    if (serial == 60)
        return {1900, 2, 29, weekday};
    // Days since 1970-01-01; before the false leap day Excel's count is one day ahead.
    long long z = serial - (serial < 60 ? 25568 : 25569);
    z += 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long y = yoe + era * 400;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    long long d = doy - (153 * mp + 2) / 5 + 1;
    long long m = mp < 10 ? mp + 3 : mp - 9;
    return {int(y + (m <= 2)), int(m), int(d), weekday};
}

// "aaa" and "aaaa" show Chinese weekday names whatever the section's locale.
const DateNames& chineseNames() {
    static const DateNames& names = dateNamesOf(localeOfLcid(0x0804));
    return names;
}

} // namespace

void prepareDateSection(Section& s) {
    auto& t = s.tokens;
    for (std::size_t i = 0; i < t.size(); ++i) {
        Token& tok = t[i];
        if (tok.kind == Tok::Month && tok.count <= 2 &&
            (isHours(neighbour(t, i, -1)) || isSeconds(neighbour(t, i, +1))))
            tok.kind = Tok::Minute;
    }
    // ".00" after seconds shows their fraction; any other placeholder or sign is text.
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind == Tok::Point && isSeconds(neighbour(t, i, -1)) && i + 1 < t.size() &&
            t[i + 1].kind == Tok::Digit && t[i + 1].text == u"0") {
            std::size_t j = i + 1;
            while (j < t.size() && t[j].kind == Tok::Digit && t[j].text == u"0")
                ++j;
            t[i] = {Tok::SubSecond, u".", int(std::min<std::size_t>(j - i - 1, 3))};
            t.erase(t.begin() + std::ptrdiff_t(i + 1), t.begin() + std::ptrdiff_t(j));
        } else if (!isTimeOrDate(t[i].kind)) {
            t[i].kind = Tok::Literal;
        }
    }
}

std::u16string layOutDate(const Section& s, double serial, DateSystem system) {
    int subDigits = 0;
    for (const Token& t : s.tokens)
        if (t.kind == Tok::SubSecond)
            subDigits = std::max(subDigits, t.count);
    long long perSecond = subDigits == 0 ? 1 : subDigits == 1 ? 10 : subDigits == 2 ? 100 : 1000;
    // Shown fractions of a second are rounded; whole seconds are cut, as a clock shows them (the
    // small addition absorbs the error of the serial's binary fraction).
    long long units = subDigits ? std::llround(serial * 86400.0 * double(perSecond))
                                : static_cast<long long>(std::floor(serial * 86400.0 + 1e-5));
    long long perDay = 86400 * perSecond;
    long long day = units / perDay;
    long long inDay = units % perDay;
    long long seconds = inDay / perSecond;
    long long hour = seconds / 3600, minute = seconds / 60 % 60, second = seconds % 60;
    // Day 0 of the 1904 system is day 1462 of the 1900 system, past its missing day.
    CivilDate date = civilDate(system == DateSystem::Excel1904 ? day + 1462 : day);
    const DateNames& names = dateNamesOf(s.locale);

    std::u16string out;
    for (const Token& t : s.tokens) {
        switch (t.kind) {
        case Tok::Year:
            out += t.count <= 2 ? padded(date.year % 100, 2) : padded(date.year, 4);
            break;
        case Tok::Month:
            if (t.count <= 2)
                out += padded(date.month, t.count);
            else
                out += names.months[t.count == 3 ? 0 : t.count == 5 ? 2 : 1][date.month - 1];
            break;
        case Tok::Day:
            if (t.count <= 2)
                out += padded(date.day, t.count);
            else
                out += names.weekdays[t.count == 3 ? 0 : 1][date.weekday];
            break;
        case Tok::Weekday:
            out += chineseNames().weekdays[t.count == 3 ? 2 : 1][date.weekday];
            break;
        case Tok::Hour: {
            long long h = s.twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
            out += padded(h, std::min(t.count, 2));
            break;
        }
        case Tok::Minute:
            out += padded(minute, std::min(t.count, 2));
            break;
        case Tok::Second:
            out += padded(second, std::min(t.count, 2));
            break;
        case Tok::SubSecond:
            out += u".";
            out += padded(inDay % perSecond, subDigits).substr(0, std::size_t(t.count));
            break;
        case Tok::AmPm: {
            bool pm = hour >= 12;
            if (t.text == u"上午/下午")
                out += pm ? u"下午" : u"上午";
            else if (t.text.size() == 3) // A/P, in the case written
                out += t.text[pm ? 2 : 0];
            else
                out += names.amPm[pm ? 1 : 0];
            break;
        }
        case Tok::Elapsed: {
            long long total = units / perSecond;
            long long n = t.text == u"h" ? total / 3600 : t.text == u"m" ? total / 60 : total;
            out += padded(n, t.count);
            break;
        }
        default:
            out += t.text;
        }
    }
    return out;
}

} // namespace engine::detail
