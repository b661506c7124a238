#include "engine/core/text.h"
#include "engine/formula/criteria.h"
#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <cmath>

// MATCH, VLOOKUP, HLOOKUP and LOOKUP: finding a value along a row or column.
namespace engine::formula {
namespace {

using namespace arguments;

// The values along one row or column of a reference or an array.
struct Line {
    const Operand& table;
    bool across;    // along the top row, else down the left column
    int offset = 0; // which row or column of the table

    int size() const { return across ? shapeOf(table).columns : shapeOf(table).rows; }
    Value at(CallSite& site, int i) const {
        return elementOf(table, across ? offset : i, across ? i : offset, site);
    }
};

// A table to look in: a reference or an array, else nothing.
const Operand* tableOf(const Call& call, std::size_t i) {
    return std::holds_alternative<Value>(call.args[i]) ? nullptr : &call.args[i];
}

// -1, 0 or 1 comparing a cell with the value looked for; nothing when they are of different kinds
// (a number and a text never compare, empty cells never match).
std::optional<int> compare(const Value& cell, const Value& sought) {
    if (cell.kind() != sought.kind() || cell.isEmpty() || cell.isError())
        return std::nullopt;
    return compareValues(cell, sought);
}

// Where `sought` stands in `line`, from 0: the first cell equal to it (texts without regard to case and
// with wildcards), or for `order` 1 in ascending cells the last not above it, for -1 in descending
// cells the last not below it.
std::optional<int> find(const Line& line, CallSite& site, const Value& sought, int order) {
    if (order == 0) {
        ExactMatch exact(sought);
        for (int i = 0; i < line.size(); ++i)
            if (exact.matches(line.at(site, i)))
                return i;
        return std::nullopt;
    }
    std::optional<int> found;
    for (int i = 0; i < line.size(); ++i) {
        auto c = compare(line.at(site, i), sought);
        if (!c)
            continue;
        if (*c * order <= 0) {
            found = i;
        } else {
            break;
        }
    }
    return found;
}

// The value looked for; an empty cell is found nowhere.
Value sought(const Value& v) {
    return v.isEmpty() ? Value::error(ErrorCode::NA) : v;
}

Value match(Call& call) {
    Value value = sought(call.value(0));
    if (value.isError())
        return value;
    const Operand* r = tableOf(call, 1);
    if (!r)
        return call.value(1).isError() ? call.value(1) : err(ErrorCode::NA);
    double type = 1;
    if (call.count() > 2) {
        ErrorCode e = ErrorCode::Value;
        auto n = number(call.value(2), e);
        if (!n)
            return err(e);
        type = *n;
    }
    Shape shape = shapeOf(*r);
    if (shape.rows > 1 && shape.columns > 1)
        return err(ErrorCode::NA);
    Line line{*r, shape.rows == 1};
    auto at = find(line, call.site, value, type > 0 ? 1 : type < 0 ? -1 : 0);
    return at ? Value::number(*at + 1) : err(ErrorCode::NA);
}

// VLOOKUP (down the first column) and HLOOKUP (along the first row).
template <bool across> Value tableLookup(Call& call) {
    Value value = sought(call.value(0));
    if (value.isError())
        return value;
    const Operand* table = tableOf(call, 1);
    if (!table)
        return call.value(1).isError() ? call.value(1) : err(ErrorCode::NA);
    ErrorCode e = ErrorCode::Value;
    auto n = number(call.value(2), e);
    if (!n)
        return err(e);
    bool approximate = true;
    if (call.count() > 3) {
        auto b = toBoolean(call.value(3));
        if (auto* x = std::get_if<ErrorCode>(&b))
            return err(*x);
        approximate = std::get<bool>(b);
    }
    double pick = std::trunc(*n);
    if (pick < 1)
        return err(ErrorCode::Value);
    if (pick > (across ? shapeOf(*table).rows : shapeOf(*table).columns))
        return err(ErrorCode::Ref);
    auto at = find(Line{*table, across}, call.site, value, approximate ? 1 : 0);
    if (!at)
        return err(ErrorCode::NA);
    Value result = Line{*table, !across, *at}.at(call.site, static_cast<int>(pick) - 1);
    return result.isEmpty() ? Value::number(0) : result;
}

// LOOKUP(value, vector, result vector), or LOOKUP(value, area): searched along the first row of an
// area wider than tall, else down its first column, the result from its last row or column.
Value lookup(Call& call) {
    Value value = sought(call.value(0));
    if (value.isError())
        return value;
    const Operand* r = tableOf(call, 1);
    if (!r)
        return call.value(1).isError() ? call.value(1) : err(ErrorCode::NA);
    Shape shape = shapeOf(*r);
    bool across = shape.columns > shape.rows;
    auto at = find(Line{*r, across}, call.site, value, 1);
    if (!at)
        return err(ErrorCode::NA);
    Value result;
    if (call.count() > 2) {
        const Operand* out = tableOf(call, 2);
        if (!out)
            return call.value(2).isError() ? call.value(2) : err(ErrorCode::NA);
        Line line{*out, shapeOf(*out).rows == 1};
        if (*at >= line.size())
            return err(ErrorCode::NA);
        result = line.at(call.site, *at);
    } else {
        int last = across ? shape.rows - 1 : shape.columns - 1;
        result = Line{*r, !across, *at}.at(call.site, last);
    }
    return result.isEmpty() ? Value::number(0) : result;
}

constexpr Function kRows[] = {
    {u"MATCH", 2, 3, false, "VRV", match},
    {u"VLOOKUP", 3, 4, false, "VRV", tableLookup<false>},
    {u"HLOOKUP", 3, 4, false, "VRV", tableLookup<true>},
    {u"LOOKUP", 2, 3, false, "VR", lookup},
};

} // namespace

std::span<const Function> lookupFunctions() {
    return kRows;
}

} // namespace engine::formula
