#pragma once

#include <optional>

// Serial numbers of dates as workbooks store them. In the 1900 date system day 1 is 1 January 1900
// and day 60 is 29 February 1900, a day the calendar never had, which workbooks have always counted;
// day 0 reads as 0 January 1900. In the 1904 date system day 0 is 1 January 1904. Either ends with
// 31 December 9999.
namespace engine {

enum class DateSystem { Excel1900, Excel1904 };

struct CivilDate {
    int year;
    int month; // 1 to 12
    int day;   // 1 to 31; 0 only for day 0 of the 1900 system
};

// The date of the day a serial number falls on, or nothing before day 0 or after 9999-12-31.
std::optional<CivilDate> dateOfSerial(double serial, DateSystem system);

// The serial number of `day` days after the last day before the first of `month` of `year`, the month
// counted on from January of that year past its ends (month 13 is January of the next year, month 0
// December of the last), as DATE computes it; nothing when that falls outside the system's days.
std::optional<double> serialOfDate(long year, long month, long day, DateSystem system);

// The serial number of the last day of the system, 9999-12-31.
double lastSerial(DateSystem system);

} // namespace engine
