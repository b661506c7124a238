#include "engine/core/calendar.h"

#include <cmath>

namespace engine {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date, and back.
long daysFromCivil(long y, long m, long d) {
    y -= m <= 2;
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate civilFromDays(long days) {
    long z = days + 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    long d = doy - (153 * mp + 2) / 5 + 1;
    long m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0)), static_cast<int>(m), static_cast<int>(d)};
}

// Day 0 of each system, in days from 1970-01-01.
const long k1900 = daysFromCivil(1899, 12, 30);
const long k1904 = daysFromCivil(1904, 1, 1);

} // namespace

double lastSerial(DateSystem system) {
    return static_cast<double>(daysFromCivil(9999, 12, 31) -
                               (system == DateSystem::Excel1900 ? k1900 : k1904));
}

std::optional<CivilDate> dateOfSerial(double serial, DateSystem system) {
    if (!(serial >= 0) || serial >= lastSerial(system) + 1)
        return std::nullopt;
    long days = static_cast<long>(std::floor(serial));
    if (system == DateSystem::Excel1904)
        return civilFromDays(days + k1904);
    if (days == 0)
        return CivilDate{1900, 1, 0};
    if (days == 60)
        return CivilDate{1900, 2, 29};
    // Before the day that never was, the serials run one behind the calendar's.
    return civilFromDays(days + k1900 + (days < 60 ? 1 : 0));
}

std::optional<double> serialOfDate(long year, long month, long day, DateSystem system) {
    long months = year * 12 + (month - 1);
    long y = months >= 0 ? months / 12 : (months - 11) / 12;
    long m = months - y * 12 + 1;
    if (y < 0 || y > 9999)
        return std::nullopt;
    long first = daysFromCivil(y, m, 1);
    long serial = 0;
    if (system == DateSystem::Excel1904) {
        serial = first - k1904;
    } else {
        serial = first - k1900;
        // The first of a month up to February 1900 lies before the day that never was.
        if (serial < 61)
            serial -= 1;
    }
    double result = static_cast<double>(serial) + static_cast<double>(day) - 1;
    if (result < 0 || result > lastSerial(system))
        return std::nullopt;
    return result;
}

} // namespace engine
