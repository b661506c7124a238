#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace engine::formula {
namespace {

using namespace arguments;

// The number as its 15 significant digits read, the precision Excel works in: 2.675 is rounded as it
// reads rather than as its binary value, just below, would be.
double decimal(double n) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", n);
    return std::strtod(buf, nullptr);
}

// `x` rounded at `digits` decimals (left of the point when negative) by `toWhole`, which rounds a
// number to a whole one.
template <typename ToWhole> Value roundAt(Call& call, ToWhole toWhole) {
    double x = 0, digits = 0;
    if (auto e = numbers(call, {&x, &digits}))
        return err(*e);
    double f = std::pow(10.0, std::trunc(digits));
    if (f == 0)
        return Value::number(0);
    double scaled = decimal(x * f);
    // Beyond 15 digits there is nothing left to round.
    if (std::fabs(scaled) >= 1e15)
        return Value::number(x);
    return Value::number(toWhole(scaled) / f);
}

Value round(Call& call) {
    return roundAt(call, [](double n) { return std::round(n); });
}

Value roundUp(Call& call) {
    return roundAt(call, [](double n) { return n < 0 ? std::floor(n) : std::ceil(n); });
}

Value roundDown(Call& call) {
    return roundAt(call, [](double n) { return std::trunc(n); });
}

Value intFunction(Call& call) {
    double x = 0;
    if (auto e = numbers(call, {&x}))
        return err(*e);
    return Value::number(std::floor(x));
}

// CEILING and FLOOR: a multiple of the significance, up and down; a negative number takes either sign
// of significance, a positive one only a positive significance.
Value ceiling(Call& call) {
    double x = 0, s = 0;
    if (auto e = numbers(call, {&x, &s}))
        return err(*e);
    if (x == 0 || s == 0)
        return Value::number(0);
    if (x > 0 && s < 0)
        return err(ErrorCode::Num);
    return Value::number(std::ceil(decimal(x / s)) * s);
}

Value floor(Call& call) {
    double x = 0, s = 0;
    if (auto e = numbers(call, {&x, &s}))
        return err(*e);
    if (s == 0)
        return x == 0 ? Value::number(0) : err(ErrorCode::Div0);
    if (x == 0)
        return Value::number(0);
    if (x > 0 && s < 0)
        return err(ErrorCode::Num);
    return Value::number(std::floor(decimal(x / s)) * s);
}

// EVEN and ODD round away from zero.
Value even(Call& call) {
    double x = 0;
    if (auto e = numbers(call, {&x}))
        return err(*e);
    return Value::number(std::copysign(std::ceil(decimal(std::fabs(x) / 2)) * 2, x));
}

Value odd(Call& call) {
    double x = 0;
    if (auto e = numbers(call, {&x}))
        return err(*e);
    double up = std::ceil(decimal((std::fabs(x) + 1) / 2)) * 2 - 1;
    return Value::number(x < 0 ? -up : up);
}

Value abs(Call& call) {
    double x = 0;
    if (auto e = numbers(call, {&x}))
        return err(*e);
    return Value::number(std::fabs(x));
}

Value sign(Call& call) {
    double x = 0;
    if (auto e = numbers(call, {&x}))
        return err(*e);
    return Value::number(x > 0 ? 1 : x < 0 ? -1 : 0);
}

// The remainder takes the divisor's sign.
Value mod(Call& call) {
    double x = 0, y = 0;
    if (auto e = numbers(call, {&x, &y}))
        return err(*e);
    if (y == 0)
        return err(ErrorCode::Div0);
    return Value::number(x - y * std::floor(x / y));
}

constexpr Function kRows[] = {
    {u"ROUND", 2, 2, false, "V", round},
    {u"ROUNDUP", 2, 2, false, "V", roundUp},
    {u"ROUNDDOWN", 2, 2, false, "V", roundDown},
    {u"TRUNC", 1, 2, false, "V", roundDown},
    {u"INT", 1, 1, false, "V", intFunction},
    {u"CEILING", 2, 2, false, "V", ceiling},
    {u"FLOOR", 2, 2, false, "V", floor},
    {u"EVEN", 1, 1, false, "V", even},
    {u"ODD", 1, 1, false, "V", odd},
    {u"ABS", 1, 1, false, "V", abs},
    {u"SIGN", 1, 1, false, "V", sign},
    {u"MOD", 2, 2, false, "V", mod},
};

} // namespace

std::span<const Function> roundingFunctions() {
    return kRows;
}

} // namespace engine::formula
