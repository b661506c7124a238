#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <cmath>

namespace engine::formula {
namespace {

using namespace arguments;

// Days from 1899-12-30, with the 1900 leap day that Excel counts (serial 60) kept in.
int yearOfSerial(double serial) {
    long days = static_cast<long>(std::floor(serial));
    if (days < 61)
        return 1900;
    // Civil-from-days on days since 1970-01-01 (serial 25569).
    long z = days - 25569 + 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    long month = mp < 10 ? mp + 3 : mp - 9;
    return static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

Value today(Call& call) {
    return Value::number(call.site.context.today());
}

Value year(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto x = number(call.value(0), e);
    if (!x)
        return err(e);
    if (*x < 0 || *x >= 2958466)
        return err(ErrorCode::Num);
    return Value::number(yearOfSerial(*x));
}

constexpr Function kRows[] = {
    {u"TODAY", 0, 0, true, "", today},
    {u"YEAR", 1, 1, false, "V", year},
};

} // namespace

std::span<const Function> dateFunctions() {
    return kRows;
}

} // namespace engine::formula
