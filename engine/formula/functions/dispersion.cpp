#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <cmath>
#include <vector>

namespace engine::formula {
namespace {

using namespace arguments;

double mean(const std::vector<double>& xs) {
    double total = 0;
    for (double x : xs)
        total += x;
    return total / static_cast<double>(xs.size());
}

// The sum of squared deviations from the mean, taken after the mean for accuracy.
double devSq(const std::vector<double>& xs) {
    double m = mean(xs), total = 0;
    for (double x : xs)
        total += (x - m) * (x - m);
    return total;
}

// VAR, VARP, STDEV, STDEVP and their A forms: of a sample (divided by n - 1) or of a whole population.
template <bool sample, bool root, InReferences taken> Value variance(Call& call) {
    std::vector<double> xs;
    if (auto e = collectNumbers(call.args, call.site, xs, taken))
        return err(*e);
    std::size_t n = xs.size();
    if (n < (sample ? 2u : 1u))
        return err(ErrorCode::Div0);
    double v = devSq(xs) / static_cast<double>(sample ? n - 1 : n);
    return Value::number(root ? std::sqrt(v) : v);
}

Value devSqFunction(Call& call) {
    std::vector<double> xs;
    if (auto e = collectNumbers(call.args, call.site, xs))
        return err(*e);
    return xs.empty() ? err(ErrorCode::Num) : Value::number(devSq(xs));
}

Value aveDev(Call& call) {
    std::vector<double> xs;
    if (auto e = collectNumbers(call.args, call.site, xs))
        return err(*e);
    if (xs.empty())
        return err(ErrorCode::Num);
    double m = mean(xs), total = 0;
    for (double x : xs)
        total += std::fabs(x - m);
    return Value::number(total / static_cast<double>(xs.size()));
}

// GEOMEAN and HARMEAN take positive numbers only.
Value geoMean(Call& call) {
    std::vector<double> xs;
    if (auto e = collectNumbers(call.args, call.site, xs))
        return err(*e);
    double logs = 0;
    for (double x : xs) {
        if (x <= 0)
            return err(ErrorCode::Num);
        logs += std::log(x);
    }
    return xs.empty() ? err(ErrorCode::Num) : Value::number(std::exp(logs / static_cast<double>(xs.size())));
}

Value harMean(Call& call) {
    std::vector<double> xs;
    if (auto e = collectNumbers(call.args, call.site, xs))
        return err(*e);
    double inverses = 0;
    for (double x : xs) {
        if (x <= 0)
            return err(ErrorCode::Num);
        inverses += 1 / x;
    }
    return xs.empty() ? err(ErrorCode::Num) : Value::number(static_cast<double>(xs.size()) / inverses);
}

constexpr auto kNumbers = InReferences::NumbersOnly;
constexpr auto kAll = InReferences::AllValues;

constexpr Function kRows[] = {
    {u"VAR", 1, kManyArgs, false, "R", variance<true, false, kNumbers>, nullptr, true},
    {u"VARA", 1, kManyArgs, false, "R", variance<true, false, kAll>, nullptr, true},
    {u"VARP", 1, kManyArgs, false, "R", variance<false, false, kNumbers>, nullptr, true},
    {u"VARPA", 1, kManyArgs, false, "R", variance<false, false, kAll>, nullptr, true},
    {u"STDEV", 1, kManyArgs, false, "R", variance<true, true, kNumbers>, nullptr, true},
    {u"STDEVA", 1, kManyArgs, false, "R", variance<true, true, kAll>, nullptr, true},
    {u"STDEVP", 1, kManyArgs, false, "R", variance<false, true, kNumbers>, nullptr, true},
    {u"STDEVPA", 1, kManyArgs, false, "R", variance<false, true, kAll>, nullptr, true},
    {u"DEVSQ", 1, kManyArgs, false, "R", devSqFunction, nullptr, true},
    {u"AVEDEV", 1, kManyArgs, false, "R", aveDev, nullptr, true},
    {u"GEOMEAN", 1, kManyArgs, false, "R", geoMean, nullptr, true},
    {u"HARMEAN", 1, kManyArgs, false, "R", harMean, nullptr, true},
};

} // namespace

std::span<const Function> dispersionFunctions() {
    return kRows;
}

} // namespace engine::formula
