#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

namespace engine::formula {
namespace {

using namespace arguments;

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

Value ifFunction(Call& call) {
    auto c = toBoolean(call.value(0));
    if (auto* x = std::get_if<ErrorCode>(&c))
        return err(*x);
    std::size_t pick = std::get<bool>(c) ? 1 : 2;
    if (pick >= call.count())
        return Value::boolean(pick == 1);
    // An empty argument gives 0; a reference to an empty cell stays empty.
    if (isMissing(call.args[pick]))
        return Value::number(0);
    return scalarOf(call.args[pick], call.site);
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

Value isError(Call& call) {
    return Value::boolean(call.value(0).isError());
}

// An empty argument is no empty cell.
Value isBlank(Call& call) {
    return Value::boolean(!isMissing(call.args[0]) && scalarOf(call.args[0], call.site).isEmpty());
}

Value isNumber(Call& call) {
    return Value::boolean(call.value(0).isNumber());
}

Value isText(Call& call) {
    return Value::boolean(call.value(0).isText());
}

constexpr Function kRows[] = {
    {u"IF", 1, 3, false, "VR", ifFunction},    {u"AND", 1, 255, false, "R", andFunction},
    {u"OR", 1, 255, false, "R", orFunction},   {u"NOT", 1, 1, false, "V", notFunction},
    {u"ISERROR", 1, 1, false, "V", isError},   {u"ISBLANK", 1, 1, false, "R", isBlank},
    {u"ISNUMBER", 1, 1, false, "V", isNumber}, {u"ISTEXT", 1, 1, false, "V", isText},
};

} // namespace

std::span<const Function> logicalFunctions() {
    return kRows;
}

} // namespace engine::formula
