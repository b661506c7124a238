#pragma once

#include "engine/core/address.h"
#include "engine/core/value.h"
#include "engine/formula/evaluator.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The worksheet functions the engine computes. Each is one row, defined beside its implementation
// (functions/*.cpp); the catalogue gathers the rows and sorts them by name, and a function's id is its
// place there. Ids live only as long as the process: files and text name functions by name.
namespace engine::formula {

struct CallSite;

// A call being computed: its arguments as the row says to take them, and where the formula stands.
struct Call {
    Call(std::span<Operand> a, CallSite& s) : args(a), site(s) {}

    std::span<Operand> args;
    CallSite& site;

    std::size_t count() const { return args.size(); }
    // An argument taken as a value ('V'); an empty argument or an empty cell is Empty. An array given
    // where a function reads one value stands for its first.
    const Value& value(std::size_t i) const {
        if (const ArrayOperand* a = std::get_if<ArrayOperand>(&args[i]))
            return (*a)->values.front();
        return std::get<Value>(args[i]);
    }
    // An argument given as a reference, else nothing.
    const RefOperand* reference(std::size_t i) const { return std::get_if<RefOperand>(&args[i]); }
    // An argument given as an array, else nothing.
    const ArrayValue* array(std::size_t i) const {
        const ArrayOperand* a = std::get_if<ArrayOperand>(&args[i]);
        return a ? a->get() : nullptr;
    }

    // Set by a function whose result is a reference (IF passing on the reference it picked, OFFSET the
    // one it made), which then stands instead of the value it returns. Cells beyond its arguments must
    // be the ones its row's cellsRead names, so that they are current.
    std::optional<RefOperand> referenceResult;
    // Set by a function whose result is an array (TRANSPOSE, IF passing on the array it picked).
    ArrayOperand arrayResult;
};

// "Any number" of arguments: the most a call in an Excel 97-2003 file holds.
constexpr std::uint8_t kManyArgs = 30;

struct Function {
    std::u16string_view name; // in capitals
    std::uint8_t minArgs;
    std::uint8_t maxArgs; // kManyArgs for "any number"
    bool isVolatile;      // its result changes without any cell changing (TODAY)
    // How each argument is taken, one letter each, the last repeating: 'V' as a single value (a
    // reference gives its cell in the formula's row or column), 'R' as given, a reference kept whole,
    // 'C' as given where only cells make sense (an array constant there is refused when the formula is
    // entered, as the range of COUNTIF is).
    std::string_view args;
    Value (*compute)(Call& call);
    // Cells it reads beyond the references it was given (SUMIF's sum range reshaped to its criteria
    // range, the cells OFFSET points at), which must be current before it is called; null when there are
    // none.
    std::optional<RefOperand> (*cellsRead)(std::span<const Operand> args, CallSite& site) = nullptr;
    // Whether it takes a union (several areas) as a reference argument: the functions that read every
    // cell of their references (arguments.h), AREAS and INDEX.
    bool takesUnions = false;

    bool takesValue(std::size_t i) const { return letter(i) == 'V'; }
    bool takesCellsOnly(std::size_t i) const { return letter(i) == 'C'; }
    char letter(std::size_t i) const { return args.empty() ? 'R' : args[std::min(i, args.size() - 1)]; }
};

// The function of that name (any case), or nothing when the engine does not know it.
std::optional<std::uint16_t> findFunction(std::u16string_view name);
const Function& function(std::uint16_t id);
// Ids run from 0 to functionCount() - 1.
std::uint16_t functionCount();

} // namespace engine::formula
