#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace engine::formula {
namespace {

using namespace arguments;

// The numbers of the first argument, sorted, and the second argument as a number.
std::optional<ErrorCode> sortedAnd(Call& call, std::vector<double>& xs, double& k) {
    if (auto e = collectNumbers(call.args.subspan(0, 1), call.site, xs))
        return e;
    if (auto e = numbers(Call{call.args.subspan(1), call.site}, {&k}))
        return e;
    std::sort(xs.begin(), xs.end());
    return std::nullopt;
}

// LARGE and SMALL: the k-th, k cut to a whole place.
template <bool fromTop> Value kth(Call& call) {
    std::vector<double> xs;
    double k = 0;
    if (auto e = sortedAnd(call, xs, k))
        return err(*e);
    k = std::trunc(k);
    if (k < 1 || k > static_cast<double>(xs.size()))
        return err(ErrorCode::Num);
    auto i = static_cast<std::size_t>(k) - 1;
    return Value::number(fromTop ? xs[xs.size() - 1 - i] : xs[i]);
}

// Between the two numbers around the place p * (n - 1), in proportion.
double percentileOf(const std::vector<double>& xs, double p) {
    double place = p * static_cast<double>(xs.size() - 1);
    auto below = static_cast<std::size_t>(std::floor(place));
    if (below + 1 >= xs.size())
        return xs.back();
    return xs[below] + (place - static_cast<double>(below)) * (xs[below + 1] - xs[below]);
}

Value percentile(Call& call) {
    std::vector<double> xs;
    double p = 0;
    if (auto e = sortedAnd(call, xs, p))
        return err(*e);
    if (xs.empty() || p < 0 || p > 1)
        return err(ErrorCode::Num);
    return Value::number(percentileOf(xs, p));
}

Value quartile(Call& call) {
    std::vector<double> xs;
    double q = 0;
    if (auto e = sortedAnd(call, xs, q))
        return err(*e);
    q = std::trunc(q);
    if (xs.empty() || q < 0 || q > 4)
        return err(ErrorCode::Num);
    return Value::number(percentileOf(xs, q / 4));
}

Value median(Call& call) {
    std::vector<double> xs;
    if (auto e = collectNumbers(call.args, call.site, xs))
        return err(*e);
    if (xs.empty())
        return err(ErrorCode::Num);
    std::sort(xs.begin(), xs.end());
    return Value::number(percentileOf(xs, 0.5));
}

// The number met most often; of several as often, the one met first. #N/A when none is met twice.
Value mode(Call& call) {
    std::vector<double> xs;
    if (auto e = collectNumbers(call.args, call.site, xs))
        return err(*e);
    std::vector<double> sorted = xs;
    std::sort(sorted.begin(), sorted.end());
    std::optional<double> best;
    std::ptrdiff_t bestCount = 1;
    for (double x : xs) {
        auto [lo, hi] = std::equal_range(sorted.begin(), sorted.end(), x);
        if (hi - lo > bestCount)
            best = x, bestCount = hi - lo;
    }
    return best ? Value::number(*best) : err(ErrorCode::NA);
}

// The place of a number among the numbers of a reference: from the largest unless the order is
// given and not 0. A number the reference does not hold is #N/A.
Value rank(Call& call) {
    double x = 0, order = 0;
    if (auto e = numbers(call, {&x}))
        return err(*e);
    if (!call.reference(1))
        return err(ErrorCode::Value);
    if (call.count() > 2)
        if (auto e = numbers(Call{call.args.subspan(2), call.site}, {&order}))
            return err(*e);
    std::vector<double> xs;
    if (auto e = collectNumbers(call.args.subspan(1, 1), call.site, xs))
        return err(*e);
    std::size_t before = 0;
    bool found = false;
    for (double y : xs) {
        found = found || y == x;
        if (order == 0 ? y > x : y < x)
            ++before;
    }
    return found ? Value::number(static_cast<double>(before + 1)) : err(ErrorCode::NA);
}

constexpr Function kRows[] = {
    {u"LARGE", 2, 2, false, "RV", kth<true>},
    {u"SMALL", 2, 2, false, "RV", kth<false>},
    {u"PERCENTILE", 2, 2, false, "RV", percentile},
    {u"QUARTILE", 2, 2, false, "RV", quartile},
    {u"MEDIAN", 1, kManyArgs, false, "R", median},
    {u"MODE", 1, kManyArgs, false, "R", mode},
    {u"RANK", 2, 3, false, "VRV", rank},
};

} // namespace

std::span<const Function> orderFunctions() {
    return kRows;
}

} // namespace engine::formula
