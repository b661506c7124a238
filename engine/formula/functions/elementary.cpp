#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <cmath>
#include <numbers>
#include <random>

namespace engine::formula {
namespace {

using namespace arguments;

// A function of one number. A result outside the function's domain comes out not finite, which the
// interpreter gives as #NUM!.
template <double (*f)(double)> Value ofNumber(Call& call) {
    double x = 0;
    if (auto e = numbers(call, {&x}))
        return err(*e);
    return Value::number(f(x));
}

// Excel refuses an angle of 2^27 or more, where a double no longer holds enough of its fraction of a
// turn for the result to mean anything.
constexpr double kLargestAngle = 134217728;

double sin(double x) {
    return std::fabs(x) < kLargestAngle ? std::sin(x) : NAN;
}
double cos(double x) {
    return std::fabs(x) < kLargestAngle ? std::cos(x) : NAN;
}
double tan(double x) {
    return std::fabs(x) < kLargestAngle ? std::tan(x) : NAN;
}
double asin(double x) {
    return std::asin(x);
}
double acos(double x) {
    return std::acos(x);
}
double atan(double x) {
    return std::atan(x);
}
double sinh(double x) {
    return std::sinh(x);
}
double cosh(double x) {
    return std::cosh(x);
}
double tanh(double x) {
    return std::tanh(x);
}
double asinh(double x) {
    return std::asinh(x);
}
double acosh(double x) {
    return std::acosh(x);
}
double atanh(double x) {
    return std::atanh(x);
}
double exp(double x) {
    return std::exp(x);
}
double ln(double x) {
    return std::log(x);
}
double log10(double x) {
    return std::log10(x);
}
double sqrt(double x) {
    return std::sqrt(x);
}
double degrees(double x) {
    return x * 180 / std::numbers::pi;
}
double radians(double x) {
    return x * std::numbers::pi / 180;
}
double fact(double x) {
    if (x < 0)
        return NAN;
    double product = 1;
    for (double i = 2; i <= std::trunc(x) && std::isfinite(product); ++i)
        product *= i;
    return product;
}

Value log(Call& call) {
    double x = 0, base = 10;
    if (auto e = numbers(call, {&x, &base}))
        return err(*e);
    if (x <= 0 || base <= 0)
        return err(ErrorCode::Num);
    if (base == 1)
        return err(ErrorCode::Div0);
    return Value::number(std::log(x) / std::log(base));
}

// ATAN2 takes x before y.
Value atan2(Call& call) {
    double x = 0, y = 0;
    if (auto e = numbers(call, {&x, &y}))
        return err(*e);
    if (x == 0 && y == 0)
        return err(ErrorCode::Div0);
    return Value::number(std::atan2(y, x));
}

// As the ^ operator computes.
Value power(Call& call) {
    double x = 0, y = 0;
    if (auto e = numbers(call, {&x, &y}))
        return err(*e);
    if (x == 0 && y == 0)
        return err(ErrorCode::Num);
    if (x == 0 && y < 0)
        return err(ErrorCode::Div0);
    return Value::number(std::pow(x, y));
}

Value combin(Call& call) {
    double n = 0, k = 0;
    if (auto e = numbers(call, {&n, &k}))
        return err(*e);
    n = std::trunc(n), k = std::trunc(k);
    if (n < 0 || k < 0 || n < k)
        return err(ErrorCode::Num);
    k = std::min(k, n - k);
    double result = 1;
    for (double i = 1; i <= k; ++i)
        result = result * (n - k + i) / i;
    return Value::number(std::round(result));
}

Value pi(Call&) {
    return Value::number(std::numbers::pi);
}

Value rand(Call&) {
    static std::mt19937_64 generator{std::random_device{}()};
    return Value::number(std::uniform_real_distribution<double>(0, 1)(generator));
}

constexpr Function kRows[] = {
    {u"SIN", 1, 1, false, "V", ofNumber<sin>},
    {u"COS", 1, 1, false, "V", ofNumber<cos>},
    {u"TAN", 1, 1, false, "V", ofNumber<tan>},
    {u"ASIN", 1, 1, false, "V", ofNumber<asin>},
    {u"ACOS", 1, 1, false, "V", ofNumber<acos>},
    {u"ATAN", 1, 1, false, "V", ofNumber<atan>},
    {u"ATAN2", 2, 2, false, "V", atan2},
    {u"SINH", 1, 1, false, "V", ofNumber<sinh>},
    {u"COSH", 1, 1, false, "V", ofNumber<cosh>},
    {u"TANH", 1, 1, false, "V", ofNumber<tanh>},
    {u"ASINH", 1, 1, false, "V", ofNumber<asinh>},
    {u"ACOSH", 1, 1, false, "V", ofNumber<acosh>},
    {u"ATANH", 1, 1, false, "V", ofNumber<atanh>},
    {u"DEGREES", 1, 1, false, "V", ofNumber<degrees>},
    {u"RADIANS", 1, 1, false, "V", ofNumber<radians>},
    {u"PI", 0, 0, false, "V", pi},
    {u"EXP", 1, 1, false, "V", ofNumber<exp>},
    {u"LN", 1, 1, false, "V", ofNumber<ln>},
    {u"LOG10", 1, 1, false, "V", ofNumber<log10>},
    {u"LOG", 1, 2, false, "V", log},
    {u"SQRT", 1, 1, false, "V", ofNumber<sqrt>},
    {u"POWER", 2, 2, false, "V", power},
    {u"FACT", 1, 1, false, "V", ofNumber<fact>},
    {u"COMBIN", 2, 2, false, "V", combin},
    {u"RAND", 0, 0, true, "V", rand},
};

} // namespace

std::span<const Function> elementaryFunctions() {
    return kRows;
}

} // namespace engine::formula
