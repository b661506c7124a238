#include "engine/core/text.h"
#include "engine/formula/criteria.h"
#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/double_byte.h"
#include "engine/formula/functions/groups.h"

// FIND, SEARCH and REPLACE, which count in characters, and their forms that count in bytes.
namespace engine::formula {
namespace {

using namespace arguments;

enum class Unit { Chars, Bytes };

// A position or count argument, 1 or more (0 or more where `least` says); #VALUE! below that.
std::optional<double> count(const Value& v, double least, ErrorCode& e) {
    auto n = number(v, e);
    if (n && *n < least) {
        e = ErrorCode::Value;
        return std::nullopt;
    }
    return n;
}

// Where `find` first stands in `within` at or after character `from`: exactly (FIND), or without
// regard to case and with wildcards (SEARCH).
std::optional<std::size_t> locate(const std::u16string& find, const std::u16string& within, std::size_t from,
                                  bool search) {
    if (!search) {
        std::size_t at = within.find(find, from);
        return at == std::u16string::npos ? std::nullopt : std::optional(at);
    }
    if (find.empty())
        return from;
    // Whatever follows the match: a ~ ending the text stands for itself, not for that *.
    std::size_t last = find.find_last_not_of(u'~');
    std::size_t tildes = last == std::u16string::npos ? find.size() : find.size() - last - 1;
    WildcardPattern pattern(find + (tildes % 2 ? u"~*" : u"*"), false);
    for (std::size_t at = from; at < within.size(); ++at)
        if (pattern.matches(std::u16string_view(within).substr(at)))
            return at;
    return std::nullopt;
}

template <bool search, Unit unit> Value position(Call& call) {
    std::u16string find, within;
    if (Value bad = text(call.value(0), find); bad.isError())
        return bad;
    if (Value bad = text(call.value(1), within); bad.isError())
        return bad;
    double start = 1;
    if (call.count() > 2) {
        ErrorCode e = ErrorCode::Value;
        auto s = count(call.value(2), 1, e);
        if (!s)
            return err(e);
        start = *s;
    }
    std::size_t first = static_cast<std::size_t>(start) - 1;
    std::size_t length = unit == Unit::Bytes ? double_byte::bytes(within) : within.size();
    if (first > length)
        return err(ErrorCode::Value);
    if (unit == Unit::Bytes)
        first = double_byte::charAt(within, first);
    auto at = locate(find, within, first, search);
    if (!at)
        return err(ErrorCode::Value);
    return Value::number(static_cast<double>(unit == Unit::Bytes ? double_byte::bytes(within, *at) : *at) +
                         1);
}

template <Unit unit> Value replace(Call& call) {
    std::u16string s, with;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    ErrorCode e = ErrorCode::Value;
    auto start = count(call.value(1), 1, e);
    auto n = count(call.value(2), 0, e);
    if (!start || !n)
        return err(e);
    if (Value bad = text(call.value(3), with); bad.isError())
        return bad;
    std::size_t length = unit == Unit::Bytes ? double_byte::bytes(s) : s.size();
    std::size_t from = std::min(length, static_cast<std::size_t>(*start) - 1);
    std::size_t rest = length - std::min(length, from + static_cast<std::size_t>(std::min(*n, 1e9)));
    if (unit == Unit::Bytes)
        return Value::text(double_byte::left(s, from) + with + double_byte::right(s, rest));
    return Value::text(s.substr(0, from) + with + s.substr(s.size() - rest));
}

constexpr Function kRows[] = {
    {u"FIND", 2, 3, false, "V", position<false, Unit::Chars>},
    {u"FINDB", 2, 3, false, "V", position<false, Unit::Bytes>},
    {u"SEARCH", 2, 3, false, "V", position<true, Unit::Chars>},
    {u"SEARCHB", 2, 3, false, "V", position<true, Unit::Bytes>},
    {u"REPLACE", 4, 4, false, "V", replace<Unit::Chars>},
    {u"REPLACEB", 4, 4, false, "V", replace<Unit::Bytes>},
};

} // namespace

std::span<const Function> positionFunctions() {
    return kRows;
}

} // namespace engine::formula
