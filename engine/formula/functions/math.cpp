#include "engine/formula/criteria.h"
#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace engine::formula {
namespace {

using namespace arguments;

Value sum(Call& call) {
    double total = 0;
    if (auto stop = forEachNumber(call.args, call.site, [&](double n) { total += n; }))
        return err(*stop);
    return Value::number(total);
}

Value product(Call& call) {
    double total = 1;
    bool any = false;
    if (auto stop = forEachNumber(call.args, call.site, [&](double n) { total *= n, any = true; }))
        return err(*stop);
    return Value::number(any ? total : 0);
}

// The sum range takes the shape of the criteria range from its top left cell, as far as the sheet goes.
std::optional<RefOperand> sumIfRange(std::span<const Operand> args) {
    if (args.size() < 3)
        return std::nullopt;
    const RefOperand* range = std::get_if<RefOperand>(&args[0]);
    const RefOperand* sums = std::get_if<RefOperand>(&args[2]);
    if (!range || !sums)
        return std::nullopt;
    return RefOperand{sums->sheet,
                      Area{sums->area.top, sums->area.left,
                           std::min(sums->area.top + range->area.rowCount() - 1, kLastRow),
                           std::min(sums->area.left + range->area.columnCount() - 1, kLastColumn)}};
}

Value sumIf(Call& call) {
    const RefOperand* range = call.reference(0);
    const RefOperand* sums = call.count() > 2 ? call.reference(2) : range;
    if (!range || !sums)
        return err(ErrorCode::Value);
    Criterion criterion(call.value(1));
    Area area = call.count() > 2 ? sumIfRange(call.args)->area : range->area;
    double total = 0;
    std::optional<ErrorCode> error;
    call.site.context.forEachValue(sums->sheet, area, [&](int row, int col, const ValueView& v) {
        if (error || (v.kind != Value::Kind::Number && v.kind != Value::Kind::Error))
            return;
        ValueView c = call.site.context.value(range->sheet, range->area.top + row - area.top,
                                              range->area.left + col - area.left);
        if (!criterion.matches(c))
            return;
        // An error among the cells summed is the result, as it would be for SUM.
        if (v.kind == Value::Kind::Error)
            error = v.error;
        else
            total += v.number;
    });
    return error ? err(*error) : Value::number(total);
}

// The number to 15 significant digits, the precision Excel works in.
std::string shortest(double n) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", n);
    return buf;
}

Value round(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto x = number(call.value(0), e), d = number(call.value(1), e);
    if (!x || !d)
        return err(e);
    double f = std::pow(10.0, std::trunc(*d));
    // Rounded as the decimal digits Excel shows, so that 2.675 goes up as it reads rather than down
    // as its binary value would.
    double r = std::round(std::stod(shortest(*x * f))) / f;
    return std::isfinite(r) ? Value::number(r) : err(ErrorCode::Num);
}

Value intFunction(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto x = number(call.value(0), e);
    return x ? Value::number(std::floor(*x)) : err(e);
}

Value abs(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto x = number(call.value(0), e);
    return x ? Value::number(std::fabs(*x)) : err(e);
}

Value mod(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto x = number(call.value(0), e), y = number(call.value(1), e);
    if (!x || !y)
        return err(e);
    if (*y == 0)
        return err(ErrorCode::Div0);
    return Value::number(*x - *y * std::floor(*x / *y));
}

constexpr Function kRows[] = {
    {u"SUM", 1, kManyArgs, false, "R", sum},
    {u"PRODUCT", 1, kManyArgs, false, "R", product},
    {u"SUMIF", 2, 3, false, "RVR", sumIf, sumIfRange},
    {u"ROUND", 2, 2, false, "V", round},
    {u"INT", 1, 1, false, "V", intFunction},
    {u"ABS", 1, 1, false, "V", abs},
    {u"MOD", 2, 2, false, "V", mod},
};

} // namespace

std::span<const Function> mathFunctions() {
    return kRows;
}

} // namespace engine::formula
