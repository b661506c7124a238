#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"

#include <array>
#include <cmath>

namespace engine::formula {
namespace {

using namespace arguments;

constexpr std::array<char16_t, 7> kLetters = {u'M', u'D', u'C', u'L', u'X', u'V', u'I'};
constexpr std::array<int, 7> kValues = {1000, 500, 100, 50, 10, 5, 1};

// `n` (0 to 3999) in Roman numerals. Form 0 is the classic one; each further form lets a subtracted
// letter stand one step further from the letter it is taken from while the numeral stays below `n`
// (499: CDXCIX, LDVLIV, XDIX, VDIV, ID).
std::u16string roman(int n, int form) {
    std::u16string out;
    for (std::size_t ones = 0; ones < kLetters.size(); ones += 2) {
        int digit = n / kValues[ones];
        if (digit % 5 == 4) {
            std::size_t from = digit == 4 ? ones - 1 : ones - 2, taken = ones;
            for (int step = 0; step < form && taken + 1 < kLetters.size(); ++step) {
                if (kValues[from] - kValues[taken + 1] > n)
                    break;
                ++taken;
            }
            out += kLetters[taken];
            out += kLetters[from];
            n -= kValues[from] - kValues[taken];
        } else {
            if (digit > 4)
                out += kLetters[ones - 1];
            out.append(static_cast<std::size_t>(digit % 5), kLetters[ones]);
            n %= kValues[ones];
        }
    }
    return out;
}

// The form may be TRUE (classic) or FALSE (simplified, form 4).
Value romanFunction(Call& call) {
    double n = 0, form = 0;
    if (auto e = numbers(call, {&n}))
        return err(*e);
    if (call.count() > 1 && call.value(1).isBoolean())
        form = call.value(1).asBoolean() ? 0 : 4;
    else if (auto e = numbers(call, {&n, &form}))
        return err(*e);
    n = std::trunc(n), form = std::trunc(form);
    if (n < 0 || n > 3999 || form < 0 || form > 4)
        return err(ErrorCode::Value);
    return Value::text(roman(static_cast<int>(n), static_cast<int>(form)));
}

constexpr Function kRows[] = {
    {u"ROMAN", 1, 2, false, "V", romanFunction},
};

} // namespace

std::span<const Function> romanFunctions() {
    return kRows;
}

} // namespace engine::formula
