#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <algorithm>
#include <unicode/uchar.h>

namespace engine::formula {
namespace {

using namespace arguments;

Value len(Call& call) {
    std::u16string s;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    return Value::number(static_cast<double>(s.size()));
}

Value trim(Call& call) {
    std::u16string s;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    std::u16string out;
    bool space = false;
    for (char16_t c : s) {
        if (c == u' ') {
            space = !out.empty();
            continue;
        }
        if (space)
            out += u' ';
        space = false;
        out += c;
    }
    return Value::text(std::move(out));
}

template <bool upper> Value changeCase(Call& call) {
    std::u16string s;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    for (char16_t& c : s)
        c = static_cast<char16_t>(upper ? u_toupper(c) : u_tolower(c));
    return Value::text(std::move(s));
}

template <bool left> Value side(Call& call) {
    std::u16string s;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    double n = 1;
    if (call.count() > 1) {
        ErrorCode e = ErrorCode::Value;
        auto x = number(call.value(1), e);
        if (!x)
            return err(e);
        n = *x;
    }
    if (n < 0)
        return err(ErrorCode::Value);
    std::size_t k = std::min(s.size(), static_cast<std::size_t>(n));
    return Value::text(left ? s.substr(0, k) : s.substr(s.size() - k));
}

Value mid(Call& call) {
    std::u16string s;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    ErrorCode e = ErrorCode::Value;
    auto start = number(call.value(1), e), n = number(call.value(2), e);
    if (!start || !n)
        return err(e);
    if (*start < 1 || *n < 0)
        return err(ErrorCode::Value);
    std::size_t from = static_cast<std::size_t>(*start) - 1;
    if (from >= s.size())
        return Value::text(u"");
    return Value::text(s.substr(from, static_cast<std::size_t>(std::min(*n, 1e9))));
}

Value substitute(Call& call) {
    std::u16string s, from, to;
    for (auto [i, out] : {std::pair{0, &s}, std::pair{1, &from}, std::pair{2, &to}})
        if (Value bad = text(call.value(static_cast<std::size_t>(i)), *out); bad.isError())
            return bad;
    std::optional<double> instance;
    if (call.count() > 3) {
        ErrorCode e = ErrorCode::Value;
        instance = number(call.value(3), e);
        if (!instance)
            return err(e);
        if (*instance < 1)
            return err(ErrorCode::Value);
    }
    if (from.empty())
        return Value::text(std::move(s));
    std::u16string out;
    std::size_t pos = 0, n = 0;
    for (;;) {
        std::size_t hit = s.find(from, pos);
        if (hit == std::u16string::npos)
            break;
        ++n;
        out.append(s, pos, hit - pos);
        out += (!instance || n == static_cast<std::size_t>(*instance)) ? to : from;
        pos = hit + from.size();
    }
    out.append(s, pos);
    return Value::text(std::move(out));
}

Value concatenate(Call& call) {
    std::u16string out;
    for (std::size_t i = 0; i < call.count(); ++i) {
        std::u16string s;
        if (Value bad = text(call.value(i), s); bad.isError())
            return bad;
        out += s;
    }
    return Value::text(std::move(out));
}

// A number as VALUE reads it: as arithmetic does, or after a dollar sign ("$1,000", "-$5").
std::optional<double> readAmount(std::u16string_view s) {
    if (auto n = readNumber(s))
        return n;
    std::u16string t(s);
    std::size_t at = t.find_first_not_of(u" -");
    if (at == std::u16string::npos || t[at] != u'$')
        return std::nullopt;
    t.erase(at, 1);
    return readNumber(t);
}

Value valueFunction(Call& call) {
    const Value& v = call.value(0);
    if (v.isError() || v.isNumber())
        return v;
    if (v.isEmpty())
        return Value::number(0);
    if (v.isText())
        if (auto n = readAmount(v.asText()))
            return Value::number(*n);
    return err(ErrorCode::Value);
}

constexpr Function kRows[] = {
    {u"LEN", 1, 1, false, "V", len},
    {u"LEFT", 1, 2, false, "V", side<true>},
    {u"RIGHT", 1, 2, false, "V", side<false>},
    {u"MID", 3, 3, false, "V", mid},
    {u"TRIM", 1, 1, false, "V", trim},
    {u"SUBSTITUTE", 3, 4, false, "V", substitute},
    {u"UPPER", 1, 1, false, "V", changeCase<true>},
    {u"LOWER", 1, 1, false, "V", changeCase<false>},
    {u"CONCATENATE", 1, kManyArgs, false, "V", concatenate},
    {u"VALUE", 1, 1, false, "V", valueFunction},
};

} // namespace

std::span<const Function> textFunctions() {
    return kRows;
}

} // namespace engine::formula
