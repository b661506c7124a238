#include "engine/core/text.h"
#include "engine/formula/functions.h"

#include <array>

namespace engine::formula {
namespace {

// In the order of Fn (function_ids.h).
constexpr std::array<FunctionInfo, 34> kFunctions = {{
    {u"IF", 1, 3, false},
    {u"AND", 1, 255, false},
    {u"OR", 1, 255, false},
    {u"NOT", 1, 1, false},
    {u"ISERROR", 1, 1, false},
    {u"ISBLANK", 1, 1, false},
    {u"ISNUMBER", 1, 1, false},
    {u"ISTEXT", 1, 1, false},
    {u"SUM", 1, 255, false},
    {u"PRODUCT", 1, 255, false},
    {u"COUNT", 1, 255, false},
    {u"COUNTA", 1, 255, false},
    {u"COUNTBLANK", 1, 1, false},
    {u"COUNTIF", 2, 2, false},
    {u"SUMIF", 2, 3, false},
    {u"AVERAGE", 1, 255, false},
    {u"MIN", 1, 255, false},
    {u"MAX", 1, 255, false},
    {u"ROUND", 2, 2, false},
    {u"INT", 1, 1, false},
    {u"ABS", 1, 1, false},
    {u"MOD", 2, 2, false},
    {u"LEN", 1, 1, false},
    {u"LEFT", 1, 2, false},
    {u"RIGHT", 1, 2, false},
    {u"MID", 3, 3, false},
    {u"TRIM", 1, 1, false},
    {u"SUBSTITUTE", 3, 4, false},
    {u"UPPER", 1, 1, false},
    {u"LOWER", 1, 1, false},
    {u"CONCATENATE", 1, 255, false},
    {u"VALUE", 1, 1, false},
    {u"TODAY", 0, 0, true},
    {u"YEAR", 1, 1, false},
}};

} // namespace

std::optional<std::uint16_t> findFunction(std::u16string_view name) {
    for (std::size_t i = 0; i < kFunctions.size(); ++i)
        if (compareFolded(kFunctions[i].name, name) == 0)
            return static_cast<std::uint16_t>(i);
    return std::nullopt;
}

const FunctionInfo& functionInfo(std::uint16_t id) {
    return kFunctions.at(id);
}

} // namespace engine::formula
