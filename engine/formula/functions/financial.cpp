#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <cmath>
#include <optional>
#include <vector>

namespace engine::formula {
namespace {

using namespace arguments;

// An annuity: a present value, `nper` payments of `pmt` at each period's end (type 0) or start (type
// 1, any other number but 0) and a future value, at `rate` a period. Its balance is 0 when
//   pv (1 + rate)^nper + pmt (1 + rate type) ((1 + rate)^nper - 1) / rate + fv = 0,
// or pv + pmt nper + fv = 0 at rate 0, which is what each function solves for its own unknown.
struct Annuity {
    double rate = 0, nper = 0, pmt = 0, pv = 0, fv = 0, type = 0;

    double growth() const { return std::pow(1 + rate, nper); }
    // What the payments add up to at the end, and are worth at the start, per unit of payment; the
    // powers less 1 are computed without the cancellation of subtracting 1.
    double paymentsFactor() const {
        return (1 + rate * (type != 0 ? 1 : 0)) * std::expm1(nper * std::log1p(rate)) / rate;
    }
    double discountedPaymentsFactor() const {
        return (1 + rate * (type != 0 ? 1 : 0)) * -std::expm1(-nper * std::log1p(rate)) / rate;
    }
    double balance() const {
        return rate == 0 ? pv + pmt * nper + fv : pv * growth() + pmt * paymentsFactor() + fv;
    }
    // The balance's derivative by the rate, for solving for it.
    double balanceSlope() const {
        double t = type != 0 ? 1 : 0, q = 1 + rate, g = growth();
        double dg = nper * std::pow(q, nper - 1);
        return pv * dg + pmt * (t * (g - 1) / rate + (1 + rate * t) * (dg * rate - (g - 1)) / (rate * rate));
    }
};

Value fv(Call& call) {
    Annuity a;
    if (auto e = numbers(call, {&a.rate, &a.nper, &a.pmt, &a.pv, &a.type}))
        return err(*e);
    if (a.rate == 0)
        return Value::number(-(a.pv + a.pmt * a.nper));
    return Value::number(-(a.pv * a.growth() + a.pmt * a.paymentsFactor()));
}

Value pv(Call& call) {
    Annuity a;
    if (auto e = numbers(call, {&a.rate, &a.nper, &a.pmt, &a.fv, &a.type}))
        return err(*e);
    if (a.rate == 0)
        return Value::number(-(a.fv + a.pmt * a.nper));
    return Value::number(-(a.fv / a.growth() + a.pmt * a.discountedPaymentsFactor()));
}

Value pmt(Call& call) {
    Annuity a;
    if (auto e = numbers(call, {&a.rate, &a.nper, &a.pv, &a.fv, &a.type}))
        return err(*e);
    if (a.nper == 0)
        return err(ErrorCode::Num);
    if (a.rate == 0)
        return Value::number(-(a.pv + a.fv) / a.nper);
    return Value::number(-(a.pv + a.fv / a.growth()) / a.discountedPaymentsFactor());
}

Value nper(Call& call) {
    Annuity a;
    if (auto e = numbers(call, {&a.rate, &a.pmt, &a.pv, &a.fv, &a.type}))
        return err(*e);
    if (a.rate == 0) {
        if (a.pmt == 0)
            return err(ErrorCode::Num);
        return Value::number(-(a.pv + a.fv) / a.pmt);
    }
    double paid = a.pmt * (1 + a.rate * (a.type != 0 ? 1 : 0));
    return Value::number(std::log((paid - a.fv * a.rate) / (paid + a.pv * a.rate)) / std::log(1 + a.rate));
}

// Newton's method from `x` as Excel's RATE and IRR run it: it must settle within 1e-7 in 20 steps, or
// the function gives #NUM!; a settled result is refined by a few more steps. `step` gives the next
// correction, or nothing when there is none (a flat slope, a rate at or below -100 %).
template <class Step> Value solve(double x, Step step) {
    constexpr int kSteps = 20, kRefinements = 3;
    constexpr double kSettled = 1e-7;
    for (int i = 0; i < kSteps; ++i) {
        std::optional<double> d = step(x);
        if (!d)
            return err(ErrorCode::Num);
        x -= *d;
        if (std::fabs(*d) < kSettled) {
            for (int k = 0; k < kRefinements; ++k) {
                std::optional<double> more = step(x);
                if (!more || std::fabs(*more) >= kSettled)
                    break;
                x -= *more;
            }
            return Value::number(x);
        }
    }
    return err(ErrorCode::Num);
}

Value rate(Call& call) {
    Annuity a;
    double guess = 0.1;
    if (auto e = numbers(call, {&a.nper, &a.pmt, &a.pv, &a.fv, &a.type, &guess}))
        return err(*e);
    if (a.nper <= 0)
        return err(ErrorCode::Num);
    return solve(guess, [&](double r) -> std::optional<double> {
        a.rate = r == 0 ? 1e-10 : r;
        double d = a.balance() / a.balanceSlope() + (a.rate - r);
        if (!std::isfinite(d) || r - d <= -1)
            return std::nullopt;
        return d;
    });
}

// Values at the ends of the periods 1, 2, …, discounted to the start of the first.
double presentValue(double r, const std::vector<double>& values, int firstPeriod) {
    double sum = 0;
    for (std::size_t i = 0; i < values.size(); ++i)
        sum += values[i] / std::pow(1 + r, double(i) + firstPeriod);
    return sum;
}

Value npv(Call& call) {
    double r = 0;
    if (auto e = numbers(call, {&r}))
        return err(*e);
    std::vector<double> values;
    if (auto e = collectNumbers(call.args.subspan(1), call.site, values))
        return err(*e);
    if (r == -1)
        return err(ErrorCode::Num);
    return Value::number(presentValue(r, values, 1));
}

// The rate at which the values, the first at the start, are worth nothing; it needs a payment each
// way.
Value irr(Call& call) {
    std::vector<double> values;
    if (auto e = collectNumbers(call.args.first(1), call.site, values))
        return err(*e);
    double r = 0.1;
    if (call.count() > 1) {
        ErrorCode e = ErrorCode::Value;
        auto g = number(scalarOf(call.args[1], call.site), e);
        if (!g)
            return err(e);
        r = *g;
    }
    bool in = false, out = false;
    for (double v : values)
        in |= v > 0, out |= v < 0;
    if (!in || !out)
        return err(ErrorCode::Num);
    return solve(r, [&](double x) -> std::optional<double> {
        double f = presentValue(x, values, 0), slope = 0;
        for (std::size_t k = 1; k < values.size(); ++k)
            slope -= double(k) * values[k] / std::pow(1 + x, double(k) + 1);
        double d = f / slope;
        if (!std::isfinite(d) || x - d <= -1)
            return std::nullopt;
        return d;
    });
}

constexpr Function kRows[] = {
    {u"FV", 3, 5, false, "V", fv},     {u"PV", 3, 5, false, "V", pv},
    {u"PMT", 3, 5, false, "V", pmt},   {u"NPER", 3, 5, false, "V", nper},
    {u"RATE", 3, 6, false, "V", rate}, {u"NPV", 2, kManyArgs, false, "VR", npv},
    {u"IRR", 1, 2, false, "RV", irr},
};

} // namespace

std::span<const Function> financialFunctions() {
    return kRows;
}

} // namespace engine::formula
