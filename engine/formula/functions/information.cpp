#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <cmath>

namespace engine::formula {
namespace {

using namespace arguments;
using K = Value::Kind;

template <bool (*test)(const Value&)> Value is(Call& call) {
    return Value::boolean(test(call.value(0)));
}

bool isError(const Value& v) {
    return v.isError();
}
bool isErr(const Value& v) {
    return v.isError() && v.asError() != ErrorCode::NA;
}
bool isNa(const Value& v) {
    return v.isError() && v.asError() == ErrorCode::NA;
}
bool isNumber(const Value& v) {
    return v.isNumber();
}
bool isText(const Value& v) {
    return v.isText();
}
bool isNonText(const Value& v) {
    return !v.isText();
}
bool isLogical(const Value& v) {
    return v.isBoolean();
}

// An empty argument is no empty cell.
Value isBlank(Call& call) {
    return Value::boolean(!isMissing(call.args[0]) && scalarOf(call.args[0], call.site).isEmpty());
}

Value isRef(Call& call) {
    return Value::boolean(call.reference(0) != nullptr);
}

// The number of each error, in the order of ErrorCode: #NULL! 1 to #N/A 7.
Value errorType(Call& call) {
    const Value& v = call.value(0);
    if (!v.isError())
        return err(ErrorCode::NA);
    return Value::number(static_cast<double>(v.asError()) + 1);
}

// A reference gives its first cell.
Value firstValue(Call& call) {
    if (const RefOperand* r = call.reference(0))
        return call.site.context.value(r->sheet, r->area.top, r->area.left).toValue();
    return call.value(0);
}

Value n(Call& call) {
    Value v = firstValue(call);
    switch (v.kind()) {
    case K::Number:
    case K::Error:
        return v;
    case K::Boolean:
        return Value::number(v.asBoolean() ? 1 : 0);
    default:
        return Value::number(0);
    }
}

Value na(Call&) {
    return err(ErrorCode::NA);
}

Value type(Call& call) {
    switch (call.value(0).kind()) {
    case K::Text:
        return Value::number(2);
    case K::Boolean:
        return Value::number(4);
    case K::Error:
        return Value::number(16);
    default:
        return Value::number(1);
    }
}

// CELL's information about the first cell of a reference (the formula's own cell without one):
// "address", "col", "row", "contents" and "type" (b blank, l text, v anything else).
Value cell(Call& call) {
    std::u16string info;
    if (Value e = text(call.value(0), info); e.isError())
        return e;
    RefOperand at{call.site.sheet, Area::cell(call.site.row, call.site.col)};
    if (call.count() > 1) {
        const RefOperand* r = call.reference(1);
        if (!r)
            return err(ErrorCode::Value);
        at = *r;
    }
    int row = at.area.top, col = at.area.left;
    if (compareFolded(info, u"address") == 0)
        return Value::text(formatAddress({row, col}, true));
    if (compareFolded(info, u"row") == 0)
        return Value::number(row + 1);
    if (compareFolded(info, u"col") == 0)
        return Value::number(col + 1);
    ValueView v = call.site.context.value(at.sheet, row, col);
    if (compareFolded(info, u"contents") == 0)
        return v.toValue();
    if (compareFolded(info, u"type") == 0)
        return Value::text(v.kind == K::Empty ? u"b" : v.kind == K::Text ? u"l" : u"v");
    return err(ErrorCode::Value);
}

constexpr Function kRows[] = {
    {u"ISERROR", 1, 1, false, "V", is<isError>},
    {u"ISERR", 1, 1, false, "V", is<isErr>},
    {u"ISNA", 1, 1, false, "V", is<isNa>},
    {u"ISNUMBER", 1, 1, false, "V", is<isNumber>},
    {u"ISTEXT", 1, 1, false, "V", is<isText>},
    {u"ISNONTEXT", 1, 1, false, "V", is<isNonText>},
    {u"ISLOGICAL", 1, 1, false, "V", is<isLogical>},
    {u"ISBLANK", 1, 1, false, "R", isBlank},
    {u"ISREF", 1, 1, false, "R", isRef},
    {u"ERROR.TYPE", 1, 1, false, "V", errorType},
    {u"N", 1, 1, false, "R", n},
    {u"NA", 0, 0, false, "V", na},
    {u"TYPE", 1, 1, false, "V", type},
    {u"CELL", 1, 2, false, "VR", cell},
};

} // namespace

std::span<const Function> informationFunctions() {
    return kRows;
}

} // namespace engine::formula
