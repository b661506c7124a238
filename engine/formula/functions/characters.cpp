#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <unicode/uchar.h>

// Text functions that work on single characters: codes, case, control characters, repetition.
namespace engine::formula {
namespace {

using namespace arguments;

// Windows-1252 at 0x80 to 0x9F, where it differs from Latin-1 (0 where it leaves a code unassigned).
constexpr char16_t kWindows1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t fromCode(int code) {
    if (code >= 0x80 && code < 0xA0 && kWindows1252[code - 0x80])
        return kWindows1252[code - 0x80];
    return static_cast<char16_t>(code);
}

int toCode(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c < 0x100))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kWindows1252[i] == c)
            return 0x80 + i;
    return '?';
}

Value charFunction(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto n = number(call.value(0), e);
    if (!n)
        return err(e);
    if (*n < 1 || *n >= 256)
        return err(ErrorCode::Value);
    return Value::text(std::u16string(1, fromCode(static_cast<int>(*n))));
}

Value code(Call& call) {
    std::u16string s;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    if (s.empty())
        return err(ErrorCode::Value);
    return Value::number(toCode(s[0]));
}

Value clean(Call& call) {
    std::u16string s;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    std::erase_if(s, [](char16_t c) { return c < 0x20; });
    return Value::text(std::move(s));
}

Value exact(Call& call) {
    std::u16string a, b;
    if (Value bad = text(call.value(0), a); bad.isError())
        return bad;
    if (Value bad = text(call.value(1), b); bad.isError())
        return bad;
    return Value::boolean(a == b);
}

// The first letter of every word in capitals, the others small; a word is a run of letters.
Value proper(Call& call) {
    std::u16string s;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    bool inWord = false;
    for (char16_t& c : s) {
        bool letter = u_isalpha(c);
        c = static_cast<char16_t>(letter && !inWord ? u_toupper(c) : u_tolower(c));
        inWord = letter;
    }
    return Value::text(std::move(s));
}

// The longest text a cell holds.
constexpr double kMaxText = 32767;

Value rept(Call& call) {
    std::u16string s;
    if (Value bad = text(call.value(0), s); bad.isError())
        return bad;
    ErrorCode e = ErrorCode::Value;
    auto n = number(call.value(1), e);
    if (!n)
        return err(e);
    if (*n < 0 || static_cast<double>(s.size()) * static_cast<std::size_t>(*n) > kMaxText)
        return err(ErrorCode::Value);
    std::u16string out;
    for (std::size_t i = static_cast<std::size_t>(*n); i > 0; --i)
        out += s;
    return Value::text(std::move(out));
}

// The text a value or the first cell of a reference holds, else empty text; errors pass through.
Value t(Call& call) {
    Value v;
    if (const RefOperand* r = call.reference(0))
        v = call.site.context.value(r->sheet, r->area.top, r->area.left).toValue();
    else
        v = call.value(0);
    if (v.isText() || v.isError())
        return v;
    return Value::text(u"");
}

constexpr Function kRows[] = {
    {u"CHAR", 1, 1, false, "V", charFunction},
    {u"CODE", 1, 1, false, "V", code},
    {u"CLEAN", 1, 1, false, "V", clean},
    {u"EXACT", 2, 2, false, "V", exact},
    {u"PROPER", 1, 1, false, "V", proper},
    {u"REPT", 2, 2, false, "V", rept},
    {u"T", 1, 1, false, "R", t},
};

} // namespace

std::span<const Function> characterFunctions() {
    return kRows;
}

} // namespace engine::formula
