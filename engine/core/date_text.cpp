#include "engine/core/date_text.h"

#include <array>
#include <cctype>
#include <regex>
#include <string>

namespace engine {
namespace {

// January is 1; a name is the month's whole English name or its first three letters or more.
int monthOfName(std::string name) {
    static constexpr std::array<std::string_view, 12> kNames = {
        "january", "february", "march",     "april",   "may",      "june",
        "july",    "august",   "september", "october", "november", "december"};
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name.size() < 3)
        return 0;
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (kNames[i].starts_with(name))
            return static_cast<int>(i) + 1;
    return 0;
}

long yearOf(const std::string& digits) {
    long y = std::stol(digits);
    if (digits.size() <= 2)
        y += y < 30 ? 2000 : 1900;
    return y;
}

int daysInMonth(long y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    // The 1900 system counts a 29 February 1900.
    return m == 2 && (leap || y == 1900) ? 29 : kDays[m - 1];
}

std::optional<double> dateOf(long y, int m, long d, DateSystem system) {
    if (m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m) || y < 1900 || y > 9999)
        return std::nullopt;
    if (y == 1900 && m == 2 && d == 29 && system == DateSystem::Excel1904)
        return std::nullopt;
    return serialOfDate(y, m, d, system);
}

std::optional<double> readDate(const std::string& s, DateSystem system) {
    static const std::regex iso(R"((\d{4})[-/](\d{1,2})[-/](\d{1,2}))");
    static const std::regex us(R"((\d{1,2})[-/](\d{1,2})[-/](\d{4}|\d{2}))");
    static const std::regex dayName(R"((\d{1,2})[- ]([A-Za-z]+)\.?[- ,]+(\d{4}|\d{2}))");
    static const std::regex nameDay(R"(([A-Za-z]+)\.? (\d{1,2}), ?(\d{4}))");
    static const std::regex nameYear(R"(([A-Za-z]+)\.?[- ](\d{4}))");
    std::smatch m;
    if (std::regex_match(s, m, iso))
        return dateOf(std::stol(m[1]), std::stoi(m[2]), std::stol(m[3]), system);
    if (std::regex_match(s, m, us))
        return dateOf(yearOf(m[3]), std::stoi(m[1]), std::stol(m[2]), system);
    if (std::regex_match(s, m, dayName))
        return dateOf(yearOf(m[3]), monthOfName(m[2]), std::stol(m[1]), system);
    if (std::regex_match(s, m, nameDay))
        return dateOf(std::stol(m[3]), monthOfName(m[1]), std::stol(m[2]), system);
    if (std::regex_match(s, m, nameYear))
        return dateOf(std::stol(m[2]), monthOfName(m[1]), 1, system);
    return std::nullopt;
}

// A fraction of a day; hours beyond 24 run on into the next days.
std::optional<double> readTime(const std::string& s) {
    static const std::regex clock(R"((\d{1,4}):(\d{1,2})(?::(\d{1,2}(?:\.\d*)?))? ?([AaPp][Mm]?)?)");
    static const std::regex hourOnly(R"((\d{1,2}) ?([AaPp][Mm]?))");
    std::smatch m;
    double h = 0, min = 0, sec = 0;
    std::string marker;
    if (std::regex_match(s, m, clock)) {
        h = std::stod(m[1]);
        min = std::stod(m[2]);
        sec = m[3].matched ? std::stod(m[3]) : 0;
        marker = m[4];
    } else if (std::regex_match(s, m, hourOnly)) {
        h = std::stod(m[1]);
        marker = m[2];
    } else {
        return std::nullopt;
    }
    if (min >= 60 || sec >= 60)
        return std::nullopt;
    if (!marker.empty()) {
        if (h < 1 || h > 12)
            return std::nullopt;
        bool pm = marker[0] == 'p' || marker[0] == 'P';
        h = h == 12 ? (pm ? 12 : 0) : (pm ? h + 12 : h);
    }
    return (h * 3600 + min * 60 + sec) / 86400;
}

} // namespace

std::optional<double> readDateTime(std::u16string_view text, DateSystem system) {
    std::string s;
    for (char16_t c : text) {
        if (c >= 0x80)
            return std::nullopt;
        s.push_back(static_cast<char>(c));
    }
    auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    s = s.substr(first, s.find_last_not_of(' ') - first + 1);
    if (auto t = readTime(s))
        return t;
    if (auto d = readDate(s, system))
        return d;
    // A date, then a time after the last blank before the time's first digit.
    for (auto at = s.rfind(' '); at != std::string::npos && at > 0; at = s.rfind(' ', at - 1)) {
        auto d = readDate(s.substr(0, s.find_last_not_of(' ', at) + 1), system);
        auto t = readTime(s.substr(at + 1));
        if (d && t)
            return *d + *t;
    }
    return std::nullopt;
}

} // namespace engine
