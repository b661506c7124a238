#include "varnel/register/calendar.h"

#include <ctime>
#include <utility>

namespace calendar {

namespace {

std::function<int()>& yearSource() {
    static std::function<int()> source;
    return source;
}

int localYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

} // namespace

int currentYear() {
    return yearSource() ? yearSource()() : localYear();
}

void setYearSource(std::function<int()> source) {
    yearSource() = std::move(source);
}

} // namespace calendar
