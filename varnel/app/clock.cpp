#include "varnel/app/clock.h"

#include <ctime>

namespace app {

namespace {
std::optional<int> pinned;
}

int currentYear() {
    if (pinned)
        return *pinned;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

void pinCurrentYear(std::optional<int> year) {
    pinned = year;
}

} // namespace app
