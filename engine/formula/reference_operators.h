#pragma once

#include "engine/formula/evaluator.h"

// The reference operators as the interpreter computes them: union, intersection and range.
namespace engine::formula {

// `a` and `b` joined by `op` (isReferenceOperator). Errors pass through; a value that is no
// reference, or references on two sheets, give #VALUE!; an intersection without cells gives #NULL!.
Operand referenceOperation(Op op, const Operand& a, const Operand& b);

} // namespace engine::formula
