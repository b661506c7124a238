#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

namespace engine::formula {
namespace {

using namespace arguments;

// AND and OR: booleans, and numbers as true when not 0; texts and empty cells in references are
// skipped, a text given directly must read TRUE or FALSE. Nothing to judge is #VALUE!.
Value logical(Call& call, bool isAnd) {
    bool any = false, result = isAnd;
    auto stop = forEachArgument(
        call.args, call.site, [&](const ValueView& v, bool fromRef) -> std::optional<ErrorCode> {
            if (v.kind == Value::Kind::Error)
                return v.error;
            if (fromRef && v.kind == Value::Kind::Text)
                return std::nullopt;
            auto b = toBoolean(v.toValue());
            if (auto* e = std::get_if<ErrorCode>(&b))
                return *e;
            any = true;
            result = isAnd ? (result && std::get<bool>(b)) : (result || std::get<bool>(b));
            return std::nullopt;
        });
    if (stop)
        return err(*stop);
    return any ? Value::boolean(result) : err(ErrorCode::Value);
}

// IF gives the argument it picks as it is: a reference stays a reference (SUM(IF(TRUE,A1:A3))).
Value ifFunction(Call& call) {
    auto c = toBoolean(call.value(0));
    if (auto* x = std::get_if<ErrorCode>(&c))
        return err(*x);
    std::size_t pick = std::get<bool>(c) ? 1 : 2;
    if (pick >= call.count())
        return Value::boolean(pick == 1);
    if (const RefOperand* r = call.reference(pick)) {
        call.referenceResult = *r;
        return {};
    }
    if (const ArrayOperand* a = std::get_if<ArrayOperand>(&call.args[pick])) {
        call.arrayResult = *a;
        return {};
    }
    // An empty argument gives 0.
    const Value& v = std::get<Value>(call.args[pick]);
    return v.isEmpty() ? Value::number(0) : v;
}

Value andFunction(Call& call) {
    return logical(call, true);
}

Value orFunction(Call& call) {
    return logical(call, false);
}

Value notFunction(Call& call) {
    auto c = toBoolean(call.value(0));
    if (auto* x = std::get_if<ErrorCode>(&c))
        return err(*x);
    return Value::boolean(!std::get<bool>(c));
}

template <bool b> Value constant(Call&) {
    return Value::boolean(b);
}

constexpr Function kRows[] = {
    {u"IF", 2, 3, false, "VR", ifFunction},
    {u"AND", 1, kManyArgs, false, "R", andFunction, nullptr, true},
    {u"OR", 1, kManyArgs, false, "R", orFunction, nullptr, true},
    {u"NOT", 1, 1, false, "V", notFunction},
    {u"TRUE", 0, 0, false, "V", constant<true>},
    {u"FALSE", 0, 0, false, "V", constant<false>},
};

} // namespace

std::span<const Function> logicalFunctions() {
    return kRows;
}

} // namespace engine::formula
