#include "engine/formula/excel_functions.h"

#include "engine/formula/functions.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace engine::formula {

namespace {

constexpr OperandClass R = OperandClass::Reference;
constexpr OperandClass V = OperandClass::Value;
constexpr OperandClass A = OperandClass::Array;
constexpr uint8_t Many = 30;

// Index, arity and classes as Excel 97 stores them.
constexpr BiffFunction table[] = {
    {"COUNT", 0, 1, Many, V, "R"},
    {"IF", 1, 2, 3, R, "VRR"},
    {"ISNA", 2, 1, 1, V, "V"},
    {"ISERROR", 3, 1, 1, V, "V"},
    {"SUM", 4, 1, Many, V, "R"},
    {"AVERAGE", 5, 1, Many, V, "R"},
    {"MIN", 6, 1, Many, V, "R"},
    {"MAX", 7, 1, Many, V, "R"},
    {"ROW", 8, 0, 1, V, "R"},
    {"COLUMN", 9, 0, 1, V, "R"},
    {"NA", 10, 0, 0, V, ""},
    {"NPV", 11, 2, Many, V, "VR"},
    {"STDEV", 12, 1, Many, V, "R"},
    {"DOLLAR", 13, 1, 2, V, "V"},
    {"FIXED", 14, 1, 3, V, "V"},
    {"SIN", 15, 1, 1, V, "V"},
    {"COS", 16, 1, 1, V, "V"},
    {"TAN", 17, 1, 1, V, "V"},
    {"ATAN", 18, 1, 1, V, "V"},
    {"PI", 19, 0, 0, V, ""},
    {"SQRT", 20, 1, 1, V, "V"},
    {"EXP", 21, 1, 1, V, "V"},
    {"LN", 22, 1, 1, V, "V"},
    {"LOG10", 23, 1, 1, V, "V"},
    {"ABS", 24, 1, 1, V, "V"},
    {"INT", 25, 1, 1, V, "V"},
    {"SIGN", 26, 1, 1, V, "V"},
    {"ROUND", 27, 2, 2, V, "V"},
    {"LOOKUP", 28, 2, 3, V, "VR"},
    {"INDEX", 29, 2, 4, R, "RV"},
    {"REPT", 30, 2, 2, V, "V"},
    {"MID", 31, 3, 3, V, "V"},
    {"LEN", 32, 1, 1, V, "V"},
    {"VALUE", 33, 1, 1, V, "V"},
    {"TRUE", 34, 0, 0, V, ""},
    {"FALSE", 35, 0, 0, V, ""},
    {"AND", 36, 1, Many, V, "R"},
    {"OR", 37, 1, Many, V, "R"},
    {"NOT", 38, 1, 1, V, "V"},
    {"MOD", 39, 2, 2, V, "V"},
    {"VAR", 46, 1, Many, V, "R"},
    {"TEXT", 48, 2, 2, V, "V"},
    {"PV", 56, 3, 5, V, "V"},
    {"FV", 57, 3, 5, V, "V"},
    {"NPER", 58, 3, 5, V, "V"},
    {"PMT", 59, 3, 5, V, "V"},
    {"RATE", 60, 3, 6, V, "V"},
    {"MIRR", 61, 3, 3, V, "RV"},
    {"IRR", 62, 1, 2, V, "RV"},
    {"RAND", 63, 0, 0, V, ""},
    {"MATCH", 64, 2, 3, V, "VR"},
    {"DATE", 65, 3, 3, V, "V"},
    {"TIME", 66, 3, 3, V, "V"},
    {"DAY", 67, 1, 1, V, "V"},
    {"MONTH", 68, 1, 1, V, "V"},
    {"YEAR", 69, 1, 1, V, "V"},
    {"WEEKDAY", 70, 1, 2, V, "V"},
    {"HOUR", 71, 1, 1, V, "V"},
    {"MINUTE", 72, 1, 1, V, "V"},
    {"SECOND", 73, 1, 1, V, "V"},
    {"NOW", 74, 0, 0, V, ""},
    {"AREAS", 75, 1, 1, V, "R"},
    {"ROWS", 76, 1, 1, V, "R"},
    {"COLUMNS", 77, 1, 1, V, "R"},
    {"OFFSET", 78, 3, 5, R, "RV"},
    {"SEARCH", 82, 2, 3, V, "V"},
    {"TRANSPOSE", 83, 1, 1, A, "A"},
    {"TYPE", 86, 1, 1, V, "V"},
    {"ATAN2", 97, 2, 2, V, "V"},
    {"ASIN", 98, 1, 1, V, "V"},
    {"ACOS", 99, 1, 1, V, "V"},
    {"CHOOSE", 100, 2, Many, R, "VR"},
    {"HLOOKUP", 101, 3, 4, V, "VRRV"},
    {"VLOOKUP", 102, 3, 4, V, "VRRV"},
    {"ISREF", 105, 1, 1, V, "R"},
    {"LOG", 109, 1, 2, V, "V"},
    {"CHAR", 111, 1, 1, V, "V"},
    {"LOWER", 112, 1, 1, V, "V"},
    {"UPPER", 113, 1, 1, V, "V"},
    {"PROPER", 114, 1, 1, V, "V"},
    {"LEFT", 115, 1, 2, V, "V"},
    {"RIGHT", 116, 1, 2, V, "V"},
    {"EXACT", 117, 2, 2, V, "V"},
    {"TRIM", 118, 1, 1, V, "V"},
    {"REPLACE", 119, 4, 4, V, "V"},
    {"SUBSTITUTE", 120, 3, 4, V, "V"},
    {"CODE", 121, 1, 1, V, "V"},
    {"FIND", 124, 2, 3, V, "V"},
    {"CELL", 125, 1, 2, V, "VR"},
    {"ISERR", 126, 1, 1, V, "V"},
    {"ISTEXT", 127, 1, 1, V, "V"},
    {"ISNUMBER", 128, 1, 1, V, "V"},
    {"ISBLANK", 129, 1, 1, V, "V"},
    {"T", 130, 1, 1, V, "R"},
    {"N", 131, 1, 1, V, "R"},
    {"DATEVALUE", 140, 1, 1, V, "V"},
    {"TIMEVALUE", 141, 1, 1, V, "V"},
    {"SLN", 142, 3, 3, V, "V"},
    {"SYD", 143, 4, 4, V, "V"},
    {"DDB", 144, 4, 5, V, "V"},
    {"INDIRECT", 148, 1, 2, R, "V"},
    {"CLEAN", 162, 1, 1, V, "V"},
    {"IPMT", 167, 4, 6, V, "V"},
    {"PPMT", 168, 4, 6, V, "V"},
    {"COUNTA", 169, 1, Many, V, "R"},
    {"PRODUCT", 183, 1, Many, V, "R"},
    {"FACT", 184, 1, 1, V, "V"},
    {"ISNONTEXT", 190, 1, 1, V, "V"},
    {"STDEVP", 193, 1, Many, V, "R"},
    {"VARP", 194, 1, Many, V, "R"},
    {"TRUNC", 197, 1, 2, V, "V"},
    {"ISLOGICAL", 198, 1, 1, V, "V"},
    {"FINDB", 205, 2, 3, V, "V"},
    {"SEARCHB", 206, 2, 3, V, "V"},
    {"REPLACEB", 207, 4, 4, V, "V"},
    {"LEFTB", 208, 1, 2, V, "V"},
    {"RIGHTB", 209, 1, 2, V, "V"},
    {"MIDB", 210, 3, 3, V, "V"},
    {"LENB", 211, 1, 1, V, "V"},
    {"ROUNDUP", 212, 2, 2, V, "V"},
    {"ROUNDDOWN", 213, 2, 2, V, "V"},
    {"RANK", 216, 2, 3, V, "VRV"},
    {"ADDRESS", 219, 2, 5, V, "V"},
    {"DAYS360", 220, 2, 3, V, "V"},
    {"TODAY", 221, 0, 0, V, ""},
    {"MEDIAN", 227, 1, Many, V, "R"},
    {"SUMPRODUCT", 228, 1, Many, V, "A"},
    {"SINH", 229, 1, 1, V, "V"},
    {"COSH", 230, 1, 1, V, "V"},
    {"TANH", 231, 1, 1, V, "V"},
    {"ASINH", 232, 1, 1, V, "V"},
    {"ACOSH", 233, 1, 1, V, "V"},
    {"ATANH", 234, 1, 1, V, "V"},
    {"ERROR.TYPE", 261, 1, 1, V, "V"},
    {"AVEDEV", 269, 1, Many, V, "R"},
    {"COMBIN", 276, 2, 2, V, "V"},
    {"EVEN", 279, 1, 1, V, "V"},
    {"FLOOR", 285, 2, 2, V, "V"},
    {"CEILING", 288, 2, 2, V, "V"},
    {"ODD", 298, 1, 1, V, "V"},
    {"DEVSQ", 318, 1, Many, V, "R"},
    {"GEOMEAN", 319, 1, Many, V, "R"},
    {"HARMEAN", 320, 1, Many, V, "R"},
    {"SUMSQ", 321, 1, Many, V, "R"},
    {"LARGE", 325, 2, 2, V, "RV"},
    {"SMALL", 326, 2, 2, V, "RV"},
    {"QUARTILE", 327, 2, 2, V, "RV"},
    {"PERCENTILE", 328, 2, 2, V, "RV"},
    {"MODE", 330, 1, Many, V, "A"},
    {"CONCATENATE", 336, 1, Many, V, "V"},
    {"POWER", 337, 2, 2, V, "V"},
    {"RADIANS", 342, 1, 1, V, "V"},
    {"DEGREES", 343, 1, 1, V, "V"},
    {"SUBTOTAL", 344, 2, Many, V, "VR"},
    {"SUMIF", 345, 2, 3, V, "RVR"},
    {"COUNTIF", 346, 2, 2, V, "RV"},
    {"COUNTBLANK", 347, 1, 1, V, "R"},
    {"ROMAN", 354, 1, 2, V, "V"},
    {"AVERAGEA", 361, 1, Many, V, "R"},
    {"MAXA", 362, 1, Many, V, "R"},
    {"MINA", 363, 1, Many, V, "R"},
    {"STDEVPA", 364, 1, Many, V, "R"},
    {"VARPA", 365, 1, Many, V, "R"},
    {"STDEVA", 366, 1, Many, V, "R"},
    {"VARA", 367, 1, Many, V, "R"},
};

} // namespace

OperandClass BiffFunction::param(size_t i) const {
    if (params.empty())
        return OperandClass::Value;
    char c = params[std::min(i, params.size() - 1)];
    return c == 'R' ? OperandClass::Reference : c == 'A' ? OperandClass::Array : OperandClass::Value;
}

namespace {

constexpr int32_t NotComputed = -1;

struct Lookup {
    std::array<const BiffFunction*, 512> byIndex{};
    std::array<int32_t, 512> engineIds{};
    std::vector<const BiffFunction*> byEngineId;
    std::array<const BiffFunction*, std::size(table)> byName{};
    Lookup() {
        engineIds.fill(NotComputed);
        for (size_t i = 0; i < std::size(table); ++i) {
            byIndex[table[i].index] = &table[i];
            byName[i] = &table[i];
            std::u16string name(table[i].name.begin(), table[i].name.end());
            if (auto id = findFunction(name)) {
                engineIds[table[i].index] = *id;
                if (*id >= byEngineId.size())
                    byEngineId.resize(*id + 1u, nullptr);
                byEngineId[*id] = &table[i];
            }
        }
        std::sort(byName.begin(), byName.end(), [](auto* a, auto* b) { return a->name < b->name; });
    }
};

const Lookup& lookup() {
    static const Lookup l;
    return l;
}

} // namespace

const BiffFunction* biffFunctionByName(std::string_view upperName) {
    const auto& names = lookup().byName;
    auto it = std::lower_bound(names.begin(), names.end(), upperName,
                               [](const BiffFunction* f, std::string_view n) { return f->name < n; });
    return it != names.end() && (*it)->name == upperName ? *it : nullptr;
}

const BiffFunction* biffFunctionByIndex(uint16_t index) {
    return index < lookup().byIndex.size() ? lookup().byIndex[index] : nullptr;
}

const BiffFunction* biffFunctionOf(uint16_t engineId) {
    const auto& all = lookup().byEngineId;
    return engineId < all.size() ? all[engineId] : nullptr;
}

std::optional<uint16_t> engineFunction(uint16_t index) {
    if (index >= lookup().engineIds.size() || lookup().engineIds[index] == NotComputed)
        return std::nullopt;
    return uint16_t(lookup().engineIds[index]);
}

} // namespace engine::formula
