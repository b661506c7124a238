#include "engine/formula/criteria.h"
#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <vector>

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
std::optional<RefOperand> sumIfRange(std::span<const Operand> args, CallSite&) {
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
    Area area = call.count() > 2 ? sumIfRange(call.args, call.site)->area : range->area;
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

Value sumSq(Call& call) {
    double total = 0;
    if (auto stop = forEachNumber(call.args, call.site, [&](double n) { total += n * n; }))
        return err(*stop);
    return Value::number(total);
}

// One argument of SUMPRODUCT as the numbers of its cells row by row, anything but a number as 0.
struct Factor {
    int rows = 1, columns = 1;
    std::vector<double> numbers;
    std::optional<ErrorCode> error;
};

Factor factorOf(const Operand& a, CallSite& site) {
    Factor f;
    if (const Value* v = std::get_if<Value>(&a)) {
        if (v->isError())
            f.error = v->asError();
        f.numbers.push_back(v->isNumber() ? v->asNumber() : 0);
        return f;
    }
    if (const ArrayOperand* array = std::get_if<ArrayOperand>(&a)) {
        f.rows = (*array)->rows, f.columns = (*array)->columns;
        for (const Value& v : (*array)->values) {
            if (v.isError() && !f.error)
                f.error = v.asError();
            f.numbers.push_back(v.isNumber() ? v.asNumber() : 0);
        }
        return f;
    }
    const RefOperand& r = std::get<RefOperand>(a);
    f.rows = r.area.rowCount(), f.columns = r.area.columnCount();
    f.numbers.assign(cellCount(r.area), 0);
    site.context.forEachValue(r.sheet, r.area, [&](int row, int col, const ValueView& v) {
        if (v.kind == Value::Kind::Error && !f.error)
            f.error = v.error;
        if (v.kind == Value::Kind::Number)
            f.numbers[static_cast<std::size_t>(row - r.area.top) * f.columns + (col - r.area.left)] =
                v.number;
    });
    return f;
}

// The arrays must all have the shape of the first.
Value sumProduct(Call& call) {
    std::vector<double> products;
    int rows = 0, columns = 0;
    for (std::size_t i = 0; i < call.count(); ++i) {
        Factor f = factorOf(call.args[i], call.site);
        if (i == 0) {
            rows = f.rows, columns = f.columns;
            products.assign(f.numbers.size(), 1);
        } else if (f.rows != rows || f.columns != columns) {
            return err(ErrorCode::Value);
        }
        if (f.error)
            return err(*f.error);
        for (std::size_t k = 0; k < products.size(); ++k)
            products[k] *= f.numbers[k];
    }
    double total = 0;
    for (double p : products)
        total += p;
    return Value::number(total);
}

constexpr Function kRows[] = {
    {u"SUM", 1, kManyArgs, false, "R", sum, nullptr, true},
    {u"PRODUCT", 1, kManyArgs, false, "R", product, nullptr, true},
    {u"SUMIF", 2, 3, false, "CVC", sumIf, sumIfRange},
    {u"SUMSQ", 1, kManyArgs, false, "R", sumSq, nullptr, true},
    {u"SUMPRODUCT", 1, kManyArgs, false, "R", sumProduct},
};

} // namespace

std::span<const Function> mathFunctions() {
    return kRows;
}

} // namespace engine::formula
