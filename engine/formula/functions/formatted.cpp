#include "engine/core/number_format.h"
#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <cmath>

// TEXT, FIXED and DOLLAR: numbers as text through number formats.
namespace engine::formula {
namespace {

using namespace arguments;

// The most decimals FIXED and DOLLAR take.
constexpr double kMaxDecimals = 127;

// The number and decimals of FIXED and DOLLAR, the number already rounded where the decimals are
// negative (to tens, hundreds, ...); nothing with `e` set when either is not a number.
std::optional<std::pair<double, int>> numberAndDecimals(const Call& call, ErrorCode& e) {
    double n = 0, decimals = 2;
    if (auto bad = numbers(call, {&n, &decimals})) {
        e = *bad;
        return std::nullopt;
    }
    if (decimals > kMaxDecimals) {
        e = ErrorCode::Value;
        return std::nullopt;
    }
    int d = static_cast<int>(std::trunc(decimals));
    if (d < 0) {
        double unit = std::pow(10.0, -d);
        n = std::round(n / unit) * unit;
    }
    return std::pair{n, d};
}

std::u16string decimalsCode(std::u16string whole, int decimals) {
    if (decimals > 0)
        whole += u'.' + std::u16string(static_cast<std::size_t>(decimals), u'0');
    return whole;
}

Value fixed(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto nd = numberAndDecimals(call, e);
    if (!nd)
        return err(e);
    bool commas = true;
    if (call.count() > 2) {
        auto noCommas = toBoolean(call.value(2));
        if (auto* x = std::get_if<ErrorCode>(&noCommas))
            return err(*x);
        commas = !std::get<bool>(noCommas);
    }
    std::u16string code = decimalsCode(commas ? u"#,##0" : u"0", nd->second);
    return Value::text(showValue(Value::number(nd->first), code).text);
}

// In the currency format of Excel's own reference: "$1,234.57", negative amounts in parentheses.
Value dollar(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto nd = numberAndDecimals(call, e);
    if (!nd)
        return err(e);
    std::u16string amount = decimalsCode(u"$#,##0", nd->second);
    return Value::text(showValue(Value::number(nd->first), amount + u";(" + amount + u")").text);
}

Value textFunction(Call& call) {
    Value v = call.value(0);
    if (v.isError())
        return v;
    std::u16string code;
    if (Value bad = text(call.value(1), code); bad.isError())
        return bad;
    if (v.isText())
        if (auto n = readNumber(v.asText()))
            v = Value::number(*n);
    if (v.isEmpty())
        v = Value::number(0);
    // A code Excel would not take as a cell's number format is refused, not shown as General.
    auto format = numberFormatOf(code);
    if (!format)
        return err(ErrorCode::Value);
    return Value::text(format->show(v, call.site.context.dateSystem()).text);
}

constexpr Function kRows[] = {
    {u"TEXT", 2, 2, false, "V", textFunction},
    {u"FIXED", 1, 3, false, "V", fixed},
    {u"DOLLAR", 1, 2, false, "V", dollar},
};

} // namespace

std::span<const Function> formattedFunctions() {
    return kRows;
}

} // namespace engine::formula
