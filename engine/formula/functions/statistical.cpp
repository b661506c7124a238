#include "engine/formula/criteria.h"
#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

namespace engine::formula {
namespace {

using namespace arguments;
using K = Value::Kind;

template <InReferences taken> Value average(Call& call) {
    double total = 0;
    std::size_t n = 0;
    if (auto stop = forEachNumber(
            call.args, call.site, [&](double x) { total += x, ++n; }, taken))
        return err(*stop);
    return n == 0 ? err(ErrorCode::Div0) : Value::number(total / static_cast<double>(n));
}

// MIN and MAX of no numbers are 0.
template <bool isMin, InReferences taken> Value extreme(Call& call) {
    std::optional<double> best;
    if (auto stop = forEachNumber(
            call.args, call.site,
            [&](double n) {
                if (!best || (isMin ? n < *best : n > *best))
                    best = n;
            },
            taken))
        return err(*stop);
    return Value::number(best.value_or(0));
}

Value count(Call& call) {
    std::size_t n = 0;
    forEachArgument(call.args, call.site, [&](const ValueView& v, bool fromRef) -> std::optional<ErrorCode> {
        if (v.kind == K::Number ||
            (!fromRef && std::holds_alternative<double>(toNumber(v.toValue())) && v.kind != K::Error))
            ++n;
        return std::nullopt;
    });
    return Value::number(static_cast<double>(n));
}

Value countA(Call& call) {
    std::size_t n = 0;
    forEachArgument(call.args, call.site, [&](const ValueView&, bool) -> std::optional<ErrorCode> {
        ++n;
        return std::nullopt;
    });
    return Value::number(static_cast<double>(n));
}

Value countBlank(Call& call) {
    const RefOperand* r = call.reference(0);
    if (!r)
        return err(ErrorCode::Value);
    std::size_t filled = 0;
    call.site.context.forEachValue(r->sheet, r->area, [&](int, int, const ValueView& v) {
        if (!(v.kind == K::Text && v.text.empty()))
            ++filled;
    });
    return Value::number(static_cast<double>(cellCount(r->area) - filled));
}

Value countIf(Call& call) {
    const RefOperand* range = call.reference(0);
    if (!range)
        return err(ErrorCode::Value);
    Criterion criterion(call.value(1));
    std::size_t visited = 0, n = 0;
    call.site.context.forEachValue(range->sheet, range->area, [&](int, int, const ValueView& v) {
        ++visited;
        if (criterion.matches(v))
            ++n;
    });
    if (criterion.matches(ValueView()))
        n += cellCount(range->area) - visited;
    return Value::number(static_cast<double>(n));
}

constexpr auto kNumbers = InReferences::NumbersOnly;
constexpr auto kAll = InReferences::AllValues;

constexpr Function kRows[] = {
    {u"AVERAGE", 1, kManyArgs, false, "R", average<kNumbers>, nullptr, true},
    {u"AVERAGEA", 1, kManyArgs, false, "R", average<kAll>, nullptr, true},
    {u"MIN", 1, kManyArgs, false, "R", extreme<true, kNumbers>, nullptr, true},
    {u"MINA", 1, kManyArgs, false, "R", extreme<true, kAll>, nullptr, true},
    {u"MAX", 1, kManyArgs, false, "R", extreme<false, kNumbers>, nullptr, true},
    {u"MAXA", 1, kManyArgs, false, "R", extreme<false, kAll>, nullptr, true},
    {u"COUNT", 1, kManyArgs, false, "R", count, nullptr, true},
    {u"COUNTA", 1, kManyArgs, false, "R", countA, nullptr, true},
    {u"COUNTBLANK", 1, 1, false, "C", countBlank},
    {u"COUNTIF", 2, 2, false, "CV", countIf},
};

} // namespace

std::span<const Function> statisticalFunctions() {
    return kRows;
}

} // namespace engine::formula
