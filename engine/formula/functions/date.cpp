#include "engine/core/calendar.h"
#include "engine/core/date_text.h"
#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <cmath>

namespace engine::formula {
namespace {

using namespace arguments;

DateSystem systemOf(const Call& call) {
    return call.site.context.dateSystem();
}

// A serial number argument: a number, or a text that reads as a number, a date or a time.
std::optional<double> serialArgument(const Call& call, std::size_t i, ErrorCode& e) {
    auto n = toNumber(call.value(i), systemOf(call));
    if (auto* x = std::get_if<ErrorCode>(&n)) {
        e = *x;
        return std::nullopt;
    }
    return std::get<double>(n);
}

// The date of a serial number argument; #NUM! before day 0 or after the last day.
std::optional<CivilDate> dateArgument(const Call& call, std::size_t i, ErrorCode& e) {
    auto serial = serialArgument(call, i, e);
    if (!serial)
        return std::nullopt;
    auto date = dateOfSerial(*serial, systemOf(call));
    if (!date)
        e = ErrorCode::Num;
    return date;
}

template <int CivilDate::*part> Value datePart(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto date = dateArgument(call, 0, e);
    return date ? Value::number((*date).*part) : err(e);
}

// The seconds since midnight, rounded to the nearest second.
template <int unit, int count> Value timePart(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto serial = serialArgument(call, 0, e);
    if (!serial)
        return err(e);
    if (!dateOfSerial(*serial, systemOf(call)))
        return err(ErrorCode::Num);
    auto seconds = static_cast<long>(std::llround((*serial - std::floor(*serial)) * 86400)) % 86400;
    return Value::number(seconds / unit % count);
}

// Years 0 to 1899 count from 1900; months and days beyond their ends run on into the next ones.
Value date(Call& call) {
    double y = 0, m = 0, d = 0;
    if (auto e = numbers(call, {&y, &m, &d}))
        return err(*e);
    y = std::trunc(y), m = std::trunc(m), d = std::trunc(d);
    if (y < 0 || y >= 10000 || std::fabs(m) > 1e6 || std::fabs(d) > 1e8)
        return err(ErrorCode::Num);
    if (y < 1900)
        y += 1900;
    auto serial = serialOfDate(long(y), long(m), long(d), systemOf(call));
    return serial ? Value::number(*serial) : err(ErrorCode::Num);
}

// Hours, minutes and seconds beyond their ends run on; a whole day and more wraps round.
Value time(Call& call) {
    double h = 0, m = 0, s = 0;
    if (auto e = numbers(call, {&h, &m, &s}))
        return err(*e);
    h = std::trunc(h), m = std::trunc(m), s = std::trunc(s);
    if (h > 32767 || m > 32767 || s > 32767)
        return err(ErrorCode::Num);
    double seconds = h * 3600 + m * 60 + s;
    if (seconds < 0)
        return err(ErrorCode::Num);
    return Value::number(std::fmod(seconds, 86400) / 86400);
}

// DATEVALUE and TIMEVALUE read only texts.
std::optional<double> textSerial(const Call& call, ErrorCode& e) {
    const Value& v = call.value(0);
    if (v.isError()) {
        e = v.asError();
        return std::nullopt;
    }
    if (v.isText())
        if (auto serial = readDateTime(v.asText(), systemOf(call)))
            return serial;
    e = ErrorCode::Value;
    return std::nullopt;
}

Value dateValue(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto serial = textSerial(call, e);
    return serial ? Value::number(std::floor(*serial)) : err(e);
}

Value timeValue(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto serial = textSerial(call, e);
    return serial ? Value::number(*serial - std::floor(*serial)) : err(e);
}

// Type 1 counts from Sunday as 1, type 2 from Monday as 1, type 3 from Monday as 0.
Value weekday(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto serial = serialArgument(call, 0, e);
    if (!serial)
        return err(e);
    double type = 1;
    if (call.count() > 1) {
        auto t = number(call.value(1), e);
        if (!t)
            return err(e);
        type = std::trunc(*t);
    }
    if (!dateOfSerial(*serial, systemOf(call)) || type < 1 || type > 3)
        return err(ErrorCode::Num);
    // Day 0 of the 1900 system is a Saturday, day 0 of the 1904 system a Friday.
    long days = static_cast<long>(std::floor(*serial)) + (systemOf(call) == DateSystem::Excel1900 ? 6 : 5);
    long sunday0 = days % 7;
    if (type == 1)
        return Value::number(sunday0 + 1);
    long monday0 = (sunday0 + 6) % 7;
    return Value::number(type == 2 ? monday0 + 1 : monday0);
}

bool isLastOfFebruary(const CivilDate& d) {
    bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0 || d.year == 1900;
    return d.month == 2 && d.day == (leap ? 29 : 28);
}

// Days between two dates in a year of twelve 30-day months. By the US rules a start on the last day of
// its month counts as the 30th, and an end on a 31st as the 30th when the start is a 30th or later;
// the European rules, which the third argument asks for, count every 31st as the 30th.
Value days360(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto start = dateArgument(call, 0, e);
    if (!start)
        return err(e);
    auto end = dateArgument(call, 1, e);
    if (!end)
        return err(e);
    bool european = false;
    if (call.count() > 2) {
        auto b = toBoolean(call.value(2));
        if (auto* x = std::get_if<ErrorCode>(&b))
            return err(*x);
        european = std::get<bool>(b);
    }
    int d1 = start->day, d2 = end->day;
    if (european) {
        d1 = std::min(d1, 30);
        d2 = std::min(d2, 30);
    } else {
        if (isLastOfFebruary(*start))
            d1 = 30;
        if (d2 == 31 && d1 >= 30)
            d2 = 30;
        d1 = std::min(d1, 30);
    }
    return Value::number((end->year - start->year) * 360 + (end->month - start->month) * 30 + d2 - d1);
}

Value now(Call& call) {
    return Value::number(call.site.context.now());
}

Value today(Call& call) {
    return Value::number(std::floor(call.site.context.now()));
}

constexpr Function kRows[] = {
    {u"DATE", 3, 3, false, "V", date},
    {u"DATEVALUE", 1, 1, false, "V", dateValue},
    {u"DAY", 1, 1, false, "V", datePart<&CivilDate::day>},
    {u"DAYS360", 2, 3, false, "V", days360},
    {u"HOUR", 1, 1, false, "V", timePart<3600, 24>},
    {u"MINUTE", 1, 1, false, "V", timePart<60, 60>},
    {u"MONTH", 1, 1, false, "V", datePart<&CivilDate::month>},
    {u"NOW", 0, 0, true, "", now},
    {u"SECOND", 1, 1, false, "V", timePart<1, 60>},
    {u"TIME", 3, 3, false, "V", time},
    {u"TIMEVALUE", 1, 1, false, "V", timeValue},
    {u"TODAY", 0, 0, true, "", today},
    {u"WEEKDAY", 1, 2, false, "V", weekday},
    {u"YEAR", 1, 1, false, "V", datePart<&CivilDate::year>},
};

} // namespace

std::span<const Function> dateFunctions() {
    return kRows;
}

} // namespace engine::formula
