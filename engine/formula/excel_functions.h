#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace engine::formula {

// Operand classes of formula tokens: a reference, a single value, or an array.
enum class OperandClass : uint8_t { Reference, Value, Array };

// One built-in worksheet function of Excel 97, as its files store it: its index in Excel's function
// table, the arity Excel accepts and the operand classes it expects. Joined to the engine's functions
// (functions.h) by name; the parser takes from it the counts Excel accepts for the functions the engine
// does not compute.
struct BiffFunction {
    std::string_view name;
    uint16_t index;
    uint8_t minArgs;
    uint8_t maxArgs;
    OperandClass result;
    // Class expected of each argument, one letter (R, V, A) per argument; the last letter repeats.
    std::string_view params;

    bool fixedArity() const { return minArgs == maxArgs; }
    OperandClass param(size_t i) const;
};

// Look-ups by upper-case name, by table index and by the engine's function id; nullptr when the
// function is not in the table.
const BiffFunction* biffFunctionByName(std::string_view upperName);
const BiffFunction* biffFunctionByIndex(uint16_t index);
const BiffFunction* biffFunctionOf(uint16_t engineId);
// The engine's id of the function at that table index, or nothing when the engine does not compute
// it and keeps its calls by name.
std::optional<uint16_t> engineFunction(uint16_t index);

} // namespace engine::formula
