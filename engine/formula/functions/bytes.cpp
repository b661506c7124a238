#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/double_byte.h"
#include "engine/formula/functions/groups.h"

// LENB, LEFTB, RIGHTB and MIDB: LEN, LEFT, RIGHT and MID counting bytes.
namespace engine::formula {
namespace {

using namespace arguments;

Value lenB(Call& call) {
    std::u16string s;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    return Value::number(static_cast<double>(double_byte::bytes(s)));
}

// A count of bytes: 0 or more, as far as any text reaches.
std::optional<std::size_t> byteCount(const Value& v, ErrorCode& e) {
    auto n = number(v, e);
    if (!n)
        return std::nullopt;
    if (*n < 0) {
        e = ErrorCode::Value;
        return std::nullopt;
    }
    return static_cast<std::size_t>(std::min(*n, 1e9));
}

template <bool left> Value sideB(Call& call) {
    std::u16string s;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    std::size_t n = 1;
    if (call.count() > 1) {
        ErrorCode e = ErrorCode::Value;
        auto x = byteCount(call.value(1), e);
        if (!x)
            return err(e);
        n = *x;
    }
    return Value::text(left ? double_byte::left(s, n) : double_byte::right(s, n));
}

Value midB(Call& call) {
    std::u16string s;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    ErrorCode e = ErrorCode::Value;
    auto start = byteCount(call.value(1), e), n = byteCount(call.value(2), e);
    if (!start || !n)
        return err(e);
    if (*start < 1)
        return err(ErrorCode::Value);
    std::size_t length = double_byte::bytes(s);
    if (*start > length)
        return Value::text(u"");
    return Value::text(double_byte::left(double_byte::right(s, length - (*start - 1)), *n));
}

constexpr Function kRows[] = {
    {u"LENB", 1, 1, false, "V", lenB},
    {u"LEFTB", 1, 2, false, "V", sideB<true>},
    {u"RIGHTB", 1, 2, false, "V", sideB<false>},
    {u"MIDB", 3, 3, false, "V", midB},
};

} // namespace

std::span<const Function> byteFunctions() {
    return kRows;
}

} // namespace engine::formula
