#pragma once

#include "engine/core/address.h"
#include "engine/core/calendar.h"
#include "engine/core/value.h"
#include "engine/formula/program.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <variant>
#include <vector>

namespace engine::formula {

// What a formula sees of its workbook while it is computed.
class EvalContext {
public:
    virtual ~EvalContext() = default;
    // Whether every formula among the cells of `area` has a current result. When one has not, the
    // context arranges for it to be computed and answers false: the interpreter stops and is run again
    // at the same token once that is done. A formula being computed counts as current (it reads as a
    // circular reference).
    virtual bool ready(SheetId sheet, const Area& area) = 0;
    virtual bool sheetExists(SheetId sheet) = 0;
    // The sheet of that name (any case), for references written as text (INDIRECT).
    virtual std::optional<SheetId> sheetNamed(std::u16string_view name) = 0;
    virtual ValueView value(SheetId sheet, int row, int col) = 0;
    // Every cell with content in `area`, row by row.
    virtual void forEachValue(SheetId sheet, const Area& area,
                              const std::function<void(int row, int col, const ValueView&)>& visit) = 0;
    // The present moment as a serial number of the workbook's date system, and that system.
    virtual double now() = 0;
    virtual DateSystem dateSystem() = 0;
    // Whether a row of a sheet is hidden, which SUBTOTAL's numbers from 101 on leave out.
    virtual bool rowHidden(SheetId sheet, int row) = 0;
    // What a defined name stands for in a formula on `sheet`: one constant token (a text with its
    // characters), or references joined by reference operators. Empty for a name that names nothing the
    // engine computes: #NAME?.
    virtual std::span<const Token> definedName(std::u16string_view name, SheetId sheet) = 0;
    // The formula in a cell, compiled; empty for a cell without one.
    virtual std::span<const Token> formula(SheetId sheet, int row, int col) = 0;
};

// The tokens a frame runs: a cell's formula where its sheet keeps it, or a Program of the caller's own
// (`frame.program = &program`).
struct ProgramView : std::span<const Token> {
    ProgramView() = default;
    ProgramView(std::span<const Token> tokens) : std::span<const Token>(tokens) {} // NOLINT: a view
    ProgramView(const Program* program) : std::span<const Token>(*program) {}      // NOLINT: a view
};

// One formula being computed. `sheet`, `row`, `col`: the formula's own cell.
struct Frame {
    ProgramView program;
    SheetId sheet = 0;
    int row = 0;
    int col = 0;
    std::size_t pc = 0;   // the next token
    std::size_t base = 0; // where its operands start on the shared stack
    bool started = false;
    // A cell of an array formula: operations over ranges take them whole, and the result is the
    // element at the cell's place in the formula's range.
    bool arrayFormula = false;
    int arrayRow = 0;
    int arrayCol = 0;
};

// The cells a reference stands for: one area, or for a union the further areas of the same sheet
// in `more`. Only functions whose row says they take unions see one; to others it is #VALUE!.
struct RefOperand {
    SheetId sheet;
    Area area;
    std::vector<Area> more = {};

    std::size_t areaCount() const { return 1 + more.size(); }
    const Area& areaAt(std::size_t i) const { return i == 0 ? area : more[i - 1]; }
};
// Values row by row: an array constant, or what an operation over arrays or ranges gives.
struct ArrayValue {
    int rows = 1;
    int columns = 1;
    std::vector<Value> values; // rows * columns of them

    const Value& at(int row, int col) const {
        return values[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                      static_cast<std::size_t>(col)];
    }
};
using ArrayOperand = std::shared_ptr<const ArrayValue>;
using Operand = std::variant<Value, RefOperand, ArrayOperand>;

// Runs formula programs on one operand stack shared by all frames, so that a formula waiting for
// another keeps its operands while the other runs above them: no recursion, whatever the chain.
class Interpreter {
public:
    // Runs `frame` on from its next token. Its result, or nothing when the context asked for other
    // formulas to be computed first.
    std::optional<Value> run(Frame& frame, EvalContext& context);

private:
    // Pushes the cells of a Ref or Area token; false when they must be computed first. A defined
    // name's relative parts are offsets from the formula's cell (`relative`).
    bool pushReference(const Token& t, const Frame& frame, EvalContext& context, bool relative = false);
    // Pushes what a defined name's references and reference operators give; false as above.
    bool pushNameReference(std::span<const Token> definition, const Frame& frame, EvalContext& context);

    std::vector<Operand> stack_;
};

} // namespace engine::formula
